#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace vorlane {

// Helper routines shared by records, services and windows. They keep no state of their own and
// read the login context (Defs). The widget routines (ClearFirstGridRow, SetHelpContext,
// ShowStatusBar, ApplyToolbarStyle) live in the windows library and build on the values here.

// Field value read without tripping over NULL (an invalid QVariant): NULL reads as the integer 0
// for integer and Boolean fields (type codes 3 and 11) and as the empty text for every other
// type; a Boolean reads as the integer 1 or 0; anything else passes unchanged.
QVariant NullSafeValue(const QVariant &value, int typeCode);

// Keystroke filters on ANSI key codes: a swallowed key becomes 0. Control codes below 32 pass;
// a negative code (double-byte character) never does.
void FilterNumericKey(qint16 &key, bool allowPoint, bool allowMinus);
void FilterCodeKey(qint16 &key);

// The ANSI key code a typed character produces: its byte for a single-byte character, lead byte
// and trail byte as one (negative) 16-bit number for a double-byte one.
qint16 AnsiKeyCode(QChar c);

// The same rules for validators, on characters of a text. Control characters are editing keys,
// not text, so they never count as legal here.
bool IsNumericChar(QChar c, bool allowPoint, bool allowMinus);
bool IsCodeChar(QChar c);
bool IsNumericText(const QString &text, bool allowPoint, bool allowMinus);
bool IsCodeText(const QString &text);

// Code and name of a code-and-name text ("1-系统"): the first and second pieces between "-".
// A blank text gives the empty text; NamePart of a text without "-" gives the empty text.
QString CodePart(const QString &text);
QString NamePart(const QString &text);

// Index of the first entry whose name part (byName) or code part equals text; -1 when none.
int FindComboIndex(const QString &text, const QStringList &entries, bool byName);
// Index of the first entry whose text after its code and the first "-" equals text; -1 when none.
int FindComboIndexByName(const QString &text, const QStringList &entries);

// Tree-node keys: "CR1^HR001^x" has the middle segment "HR001" and the head "R1".
QString KeyMiddleSegment(const QString &key);
QString KeyHeadBeforeCaret(const QString &key);

// Initial letters of a name by its code-page-936 row and cell ("人事abc" -> "RSABC").
QString MakeSimpleSpell(const QString &text);

// Length in bytes in code page 936: a Chinese character counts 2, an ASCII character 1.
int AnsiByteLength(const QString &text);

// False when the text holds one of the characters that names and codes must not contain;
// a blank text is legal.
bool IsLegalText(const QString &text);

// The help context number of a browser window: MenuID without SYSID, as "2" and seven digits.
// 0 when the rest is not a number (then the window gets no help context).
int HelpContextNumber(const QString &menuId, const QString &sysId);
// The same for the login context's MenuID and SYSID.
int HelpContextNumber();

// One panel of a browser window's status bar; width in pixels, or -1 to keep the laid-out width.
struct StatusBarPanel
{
    QString text;
    int width = -1;
};

// The five status-bar panels from the login object and the login context.
// Throws HostError when no login object has been put.
QList<StatusBarPanel> StatusBarTexts();

// Requests (begin true) or releases (begin false) a function code from the host. A refusal is
// shown to the user; error 22 (the operator already holds the task) counts as granted.
// Throws HostError when the login object (or, for a nameless refusal, ZWPub) is missing.
bool CheckFunctionRight(const QString &functionCode, bool begin);

// Whether the account set has a first date for the "TM" subsystem. Never throws.
bool HasTMFirstDate();

} // namespace vorlane
