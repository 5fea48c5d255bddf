#pragma once

#include "ArchiveEditResult.h"

#include "model/clsHrSysSetDict.h"

#include <QString>

#include <optional>

namespace vorlane {

// What the archive class editor's boxes hold; check boxes as 0 or 1.
struct ArchiveClassInput
{
    QString code; // add mode: the class number ("007"); modify mode: the full table code
    QString name;
    QString description;
    QString memo;
    QString showOrder;
    int levels = 0;
    int hide = 1;
    int sys = 1;
};

// A class number as table codes carry it: at least three digits, leading zeros ("0##").
QString FormatClassNumber(int number);
// The number of the next archive class: one more than the largest in use, "000" for the first.
// Empty when the dictionary cannot be read.
QString NextArchiveClassNumber();

// A flag as the dictionary holds it: a number is its value, "TRUE" 1, "FALSE" 0, anything else 0.
int FlagValue(const QString &text);
// The same for a numeric text (display order): whether it reads as a number.
bool IsNumericValue(const QString &text);

// The archive class with this table code, when exactly one row has it. The two editors name the
// key column differently in their statements.
enum class ClassKeySpelling { Lower, Mixed }; // "ctablecode", "cTableCode"
std::optional<clsHrSysSetDict>
LoadArchiveClass(const QString &tableCode, ClassKeySpelling spelling = ClassKeySpelling::Lower);
// The boxes of the editor for a loaded class.
ArchiveClassInput ArchiveClassFields(const clsHrSysSetDict &record);
// Whether the class's code table holds codes below the top level (then its levels are fixed).
bool HasCodesBelowTopLevel(const QString &tableCode);

// Text of a class node after a rename: name and table code, "HR_CT" put in front of a bare number.
QString ClassNodeText(const QString &name, const QString &code);

// Add mode: checks the input and the uniqueness of name and code, then writes the dictionary row
// and creates the code table with its standard columns in one transaction. A non-numeric display
// order becomes browserGridRows.
ArchiveEditResult AddArchiveClass(const ArchiveClassInput &input, int browserGridRows);

// Modify mode, before the confirmation: the name must stay unique when it changed.
ArchiveEditResult CheckArchiveClassModify(const clsHrSysSetDict &loaded,
                                          const ArchiveClassInput &input);
// Modify mode, after the confirmation: rewrites the dictionary row and carries the display flag
// (and, with optFlag 0, the user-defined flag) to every code, in one transaction.
ArchiveEditResult
ModifyArchiveClass(const clsHrSysSetDict &loaded, const ArchiveClassInput &input, qint16 optFlag);

} // namespace vorlane
