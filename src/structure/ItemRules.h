#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace vorlane {

class clsHrSysItemDict;

// The input fields of the item dialogs, so that a rule can name the field that gets the focus.
enum class ItemField {
    None,
    ItemCode,
    ItemName,
    Description,
    Type,
    Ref,
    LastLevel,
    NumLen,
    DecLen,
    Required,
    Nullable,
    Default,
    Format,
    Memo,
    ShowOrder,
};

// What the user entered for one item; combo values are the whole combo texts ("2-变长字符型").
// A pending entry of the creation dialog is the same, with its display order filled in.
struct ItemInput
{
    QString code;
    QString name;
    QString description;
    QString type;
    QString ref;
    QString lastLevel;
    QString numLen;
    QString decLen;
    QString required;
    QString nullable;
    QString defaultValue;
    QString format;
    QString memo;
    QString showOrder;
    QString display = QStringLiteral("1");
    QString define = QStringLiteral("1");

    // The data type id: the code part of the type text.
    QString typeCode() const;
    // Every text trimmed, as the pending list stores them.
    ItemInput trimmed() const;
};

struct RuleFailure
{
    QString message;
    ItemField focus = ItemField::None;
};
using RuleResult = std::optional<RuleFailure>;

// Which of the two date-format entries a data type preselects.
enum class FormatChoice { First, CodeTwo, Second };

// How choosing a data type sets the dependent inputs.
struct TypeLayout
{
    bool numLenEnabled = false;
    QString numLen;
    bool decLenEnabled = false;
    bool formatEnabled = false;
    FormatChoice format = FormatChoice::First;
    bool refEnabled = false;
    bool refFirstSet = false; // the first reference set rather than the empty entry
    bool defaultEnabled = false;
};

// The field rules the item dialogs share: the type table, the key filters (as whole-text tests, so
// that pasted text obeys them too), the checks with their messages, date defaults in the chosen
// pattern and the record built from an entry. No database access here.
namespace ItemRules {

TypeLayout typeLayout(const QString &typeCode);

// Whether a default-value text passes the key filter of the data type, and its maximum length.
bool defaultAccepts(const QString &typeCode, const QString &text);
int defaultMaxLength(const QString &typeCode);

// Checks when leaving a field.
RuleResult codeFieldCheck(const QString &code);
RuleResult nameFieldCheck(const QString &name);
// Rewrites a length as its integer value.
RuleResult numLenFieldCheck(QString &numLen);

RuleResult requiredCheck(const ItemInput &input);
RuleResult lengthCheck(const ItemInput &input);
// A date default is rewritten in the pattern of the chosen format.
RuleResult defaultCheck(ItemInput &input);
// Lengths and decimals of an existing column only grow.
RuleResult shrinkCheck(const ItemInput &input, int storedLength, int storedDecimals);

// True for a text that reads as a number (blanks around it allowed).
bool isNumeric(const QString &text);
// The integer value of a text, or fallback when it is not a whole number in range.
int wholeNumber(const QString &text, int fallback);

// A date-format entry without its code: "2-YYYY-MM-DD" gives "YYYY-MM-DD".
QString formatText(const QString &formatEntry);

// The pending list's columns, in order, and back.
QStringList pendingColumnTitles();
QStringList pendingColumns(const ItemInput &entry, const QString &tableCode);
ItemInput fromPendingColumns(const QStringList &columns);

// The dictionary record of a new item from its pending entry.
clsHrSysItemDict newItemRecord(const ItemInput &entry, const QString &tableCode);
// Writes the inputs of the modification dialog into the loaded record; rowsFallback is the
// display order used when the order box holds no number.
void applyModification(const ItemInput &input, clsHrSysItemDict &record, int rowsFallback);

} // namespace ItemRules

} // namespace vorlane
