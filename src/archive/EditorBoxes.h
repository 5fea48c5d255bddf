#pragma once

#include <QString>

class QEvent;
class QLineEdit;
class QWidget;

namespace vorlane {

// Focus handling shared by the archive editors.

// Gives the dialog's box of that objectName the focus, its whole text selected.
void focusBox(QWidget *dialog, const QString &objectName);
// Entering a text box selects its whole text (also when entered by a mouse click).
void selectAllOnEntry(QLineEdit *box);
// Whether a focus-out event is the user leaving the box, rather than another window (a message
// box among them) taking the focus away for a while.
bool leavesBox(const QEvent *event);

} // namespace vorlane
