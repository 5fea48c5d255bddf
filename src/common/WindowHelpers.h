#pragma once

#include "Grid.h"

#include <QString>

class QComboBox;
class QStatusBar;
class QWidget;

namespace vorlane {

class BrowserFrame;

// The widget forms of the shared helper routines.

// Index of the first combo entry whose name part (byName) or code part equals text; -1 if none.
int FindComboIndex(const QString &text, const QComboBox *combo, bool byName);
// Index of the first combo entry whose text after its code and the first "-" equals text.
int FindComboIndexByName(const QString &text, const QComboBox *combo);

// Fills the five panels of a browser's status bar: account set, operator, business date, an
// empty panel and the vendor. The panels are labels named Panel1 to Panel5. Throws HostError
// when the host has not put a login object.
void ShowStatusBar(QStatusBar *statusBar);

// Sets the window's help context number from the login context's MenuID and SYSID (0: none).
void SetHelpContext(QWidget *window);
// The help context number set on a window, 0 when none.
int HelpContextOf(const QWidget *window);

// Shows the host's toolbar band (style 1) or the window's own toolbar (style 2), as the login
// context's MenueStyleID asks; any other style number changes nothing.
void ApplyToolbarStyle(BrowserFrame *window);

} // namespace vorlane
