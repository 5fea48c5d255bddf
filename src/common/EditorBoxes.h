#pragma once

#include <QList>
#include <QString>

#include <initializer_list>
#include <utility>

class QEvent;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vorlane {

// Controls and focus handling shared by the editor dialogs.

// A new control with its objectName.
template<class W>
W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}
// A push button that Enter in a text box does not press.
QPushButton *button(QWidget *parent, const QString &name, const QString &caption);
// The buttons in a row at its right end.
QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons);
// A text box that selects its whole text on entry (see selectAllOnEntry).
QLineEdit *textBox(QWidget *parent, const QString &name);
// A grid on the frame: captions in the first column, each the buddy of its box in the second.
QGridLayout *captionedBoxes(QWidget *frame, const QList<std::pair<QString, QLineEdit *>> &rows);

// Gives the box the focus, its whole text selected when it is a text box.
void focusBox(QWidget *box);
// The same for the dialog's box of that objectName.
void focusBox(QWidget *dialog, const QString &objectName);
// Entering a text box selects its whole text (also when entered by a mouse click).
void selectAllOnEntry(QLineEdit *box);
// Whether a focus-out event is the user leaving the box, rather than another window (a message
// box among them) taking the focus away for a while.
bool leavesBox(const QEvent *event);
// Called on leaving a name box: a text holding a character names must not contain is refused
// with a message, and the box gets the focus back once the message is gone. checking is true
// meanwhile, so that the message box taking the focus does not ask again.
void refuseIllegalText(QLineEdit *box, const QString &title, bool &checking);

} // namespace vorlane
