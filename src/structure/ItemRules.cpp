#include "ItemRules.h"

#include "entry/mdlFunction.h"
#include "model/clsHrSysItemDict.h"

#include <QDateTime>
#include <QRegularExpression>

#include <limits>

namespace vorlane {

namespace {

QString s(const char16_t *text)
{
    return QString::fromUtf16(text);
}

RuleResult fail(const char16_t *message, ItemField focus)
{
    return RuleFailure{s(message), focus};
}

// The number a length box holds: digits only by its filter, so anything else reads as 0 and a
// run of digits too long for a number as the largest one (refused by every limit).
qlonglong lengthValue(const QString &text)
{
    const QString t = text.trimmed();
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok);
    if (ok)
        return v;
    if (!t.isEmpty() && IsNumericText(t, false, false))
        return std::numeric_limits<qlonglong>::max();
    return 0;
}

// Dates as users type them: year first, "-" or "/" between the parts, the day optional, a time
// optional. The year has four digits, so a bare year is never a date.
std::optional<QDateTime> parseDate(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^(\d{4})[-/](\d{1,2})(?:[-/](\d{1,2}))?(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?$)"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(
        m.captured(1).toInt(), m.captured(2).toInt(), m.hasCaptured(3) ? m.captured(3).toInt() : 1);
    const QTime time(m.hasCaptured(4) ? m.captured(4).toInt() : 0,
                     m.hasCaptured(5) ? m.captured(5).toInt() : 0,
                     m.hasCaptured(6) ? m.captured(6).toInt() : 0);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

RuleResult dateRange(const QDateTime &value)
{
    if (value > QDateTime(QDate(3000, 12, 12), QTime(0, 0)))
        return fail(u"日期默认值不能大于3000-12-12", ItemField::Default);
    if (value < QDateTime(QDate(1900, 1, 1), QTime(0, 0)))
        return fail(u"日期默认值不能小于1900-1-1", ItemField::Default);
    return std::nullopt;
}

// The date pattern of a format code, empty when the data type cannot take that format.
QString datePattern(const QString &formatCode, bool withTime)
{
    if (withTime && formatCode == u"1")
        return QStringLiteral("yyyy-MM-dd HH:mm:ss");
    if (formatCode == u"2")
        return QStringLiteral("yyyy-MM-dd");
    if (formatCode == u"4")
        return QStringLiteral("yyyy-MM");
    if (formatCode == u"5")
        return QStringLiteral("yyyy");
    return QString();
}

RuleResult dateDefaultCheck(ItemInput &input, bool withTime)
{
    const QString value = input.defaultValue.trimmed();
    const QString formatCode = CodePart(input.format);
    const std::optional<QDateTime> date = parseDate(value);
    if (!date) {
        if (withTime || value.size() != 4)
            return fail(u"默认值不正确", ItemField::Default);
        // A bare year.
        if (!IsNumericText(value, false, false))
            return fail(u"默认值不正确", ItemField::Default);
        const int year = value.toInt();
        if (year > 3000)
            return fail(u"输入年不能大于3000", ItemField::Default);
        if (year < 1900)
            return fail(u"输入年不能小于1900", ItemField::Default);
        if (formatCode != u"2" && formatCode != u"4" && formatCode != u"5")
            return fail(u"不能选择该格式", ItemField::Default);
        return std::nullopt;
    }
    if (RuleResult range = dateRange(*date))
        return range;
    const QString pattern = datePattern(formatCode, withTime);
    if (pattern.isEmpty())
        return fail(u"不能选择该格式", ItemField::Default);
    input.defaultValue = date->toString(pattern);
    return std::nullopt;
}

// The host's database reads an empty text in an integer column as 0; writing that 0 makes every
// engine store the same.
QString zeroIfEmpty(const QString &number)
{
    return number.trimmed().isEmpty() ? QStringLiteral("0") : number;
}

} // namespace

QString ItemInput::typeCode() const
{
    return CodePart(type).trimmed();
}

ItemInput ItemInput::trimmed() const
{
    ItemInput t;
    t.code = code.trimmed();
    t.name = name.trimmed();
    t.description = description.trimmed();
    t.type = type.trimmed();
    t.ref = ref.trimmed();
    t.lastLevel = lastLevel.trimmed();
    t.numLen = numLen.trimmed();
    t.decLen = decLen.trimmed();
    t.required = required.trimmed();
    t.nullable = nullable.trimmed();
    t.defaultValue = defaultValue.trimmed();
    t.format = format.trimmed();
    t.memo = memo.trimmed();
    t.showOrder = showOrder.trimmed();
    t.display = display.trimmed();
    t.define = define.trimmed();
    return t;
}

namespace ItemRules {

TypeLayout typeLayout(const QString &typeCode)
{
    TypeLayout l;
    const int type = wholeNumber(typeCode, -1);
    switch (type) {
    case 1:
    case 2:
        l.numLenEnabled = true;
        l.defaultEnabled = true;
        break;
    case 3:
        l.numLen = QStringLiteral("9");
        l.defaultEnabled = true;
        break;
    case 4:
        l.numLenEnabled = true;
        l.decLenEnabled = true;
        l.defaultEnabled = true;
        break;
    case 5:
        l.numLen = QStringLiteral("10");
        l.formatEnabled = true;
        l.format = FormatChoice::CodeTwo;
        l.defaultEnabled = true;
        break;
    case 6:
        l.numLen = QStringLiteral("1");
        l.defaultEnabled = true;
        break;
    case 9:
        l.numLen = QStringLiteral("30");
        l.refEnabled = true;
        l.refFirstSet = true;
        break;
    case 13:
        l.numLen = QStringLiteral("16");
        break;
    case 14:
        l.numLen = QStringLiteral("19");
        l.formatEnabled = true;
        l.format = FormatChoice::Second;
        l.defaultEnabled = true;
        break;
    case 15:
        l.numLen = QStringLiteral("8");
        l.defaultEnabled = true;
        break;
    default:
        break;
    }
    return l;
}

bool defaultAccepts(const QString &typeCode, const QString &text)
{
    const QString type = typeCode.trimmed();
    if (type == u"3")
        return IsNumericText(text, false, false);
    if (type == u"4")
        return IsNumericText(text, true, false);
    if (type == u"6") {
        for (const QChar c : text) {
            if (c != u'0' && c != u'1')
                return false;
        }
    }
    return true;
}

int defaultMaxLength(const QString &typeCode)
{
    return typeCode.trimmed() == u"6" ? 1 : 2000;
}

RuleResult codeFieldCheck(const QString &code)
{
    const QString t = code.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    if (!IsLegalText(t))
        return fail(u"含有非法字符，请重新输入！", ItemField::ItemCode);
    const QChar first = t.at(0);
    if (first.isDigit() || first == u'_' || first == u'-')
        return fail(u"第一个字符为非法字符，请重新输入！", ItemField::ItemCode);
    return std::nullopt;
}

RuleResult nameFieldCheck(const QString &name)
{
    if (!name.trimmed().isEmpty() && !IsLegalText(name))
        return fail(u"含有非法字符，请重新输入！", ItemField::ItemName);
    return std::nullopt;
}

RuleResult numLenFieldCheck(QString &numLen)
{
    if (numLen.trimmed().isEmpty())
        return std::nullopt;
    const qlonglong v = lengthValue(numLen);
    numLen = QString::number(v);
    if (v < 1)
        return fail(u"数据长度应该大于0，请重新输入！", ItemField::NumLen);
    return std::nullopt;
}

RuleResult requiredCheck(const ItemInput &input)
{
    if (input.code.trimmed().isEmpty())
        return fail(u"类别编码不能为空，请输入...", ItemField::ItemCode);
    if (input.name.trimmed().isEmpty())
        return fail(u"信息项名称不能为空，请输入...", ItemField::ItemName);
    if (input.typeCode() == u"9" && input.ref.trimmed().isEmpty())
        return fail(u"请输入参照", ItemField::Ref);
    return std::nullopt;
}

RuleResult lengthCheck(const ItemInput &input)
{
    const QString type = input.typeCode();
    const QString len = input.numLen.trimmed();
    const QString dec = input.decLen.trimmed();
    if (type == u"1" || type == u"2") {
        if (len.isEmpty())
            return fail(u"请输入数据长度！", ItemField::NumLen);
        if (lengthValue(len) >= 201)
            return fail(u"数据长度不应大于200", ItemField::NumLen);
    } else if (type == u"3") {
        if (len.isEmpty())
            return fail(u"请输入数据长度！", ItemField::NumLen);
        if (lengthValue(len) >= 10)
            return fail(u"数据长度不应大于9", ItemField::NumLen);
    } else if (type == u"4") {
        if (len.isEmpty())
            return fail(u"请输入数据长度", ItemField::NumLen);
        if (lengthValue(len) >= 16)
            return fail(u"输入的数据长度不能大于15", ItemField::NumLen);
        if (dec.isEmpty())
            return fail(u"请输入小数位长度", ItemField::DecLen);
        const qlonglong d = lengthValue(dec);
        if (d >= 7)
            return fail(u"小数位长度不能大于6", ItemField::DecLen);
        if (d == 0)
            return fail(u"小数位长度不能等于0", ItemField::DecLen);
        if (lengthValue(len) - d - 1 <= 0)
            return RuleFailure{s(u"输入的数据长度不能小于") + QString::number(d + 1),
                               ItemField::NumLen};
    }
    return std::nullopt;
}

RuleResult defaultCheck(ItemInput &input)
{
    const QString value = input.defaultValue.trimmed();
    if (value.isEmpty())
        return std::nullopt;
    const QString type = input.typeCode();
    if (type == u"1") {
        if (value.size() > lengthValue(input.numLen))
            return fail(u"默认值太长", ItemField::Default);
    } else if (type == u"3") {
        if (value.size() > 9)
            return fail(u"默认值太长", ItemField::Default);
    } else if (type == u"4") {
        const qsizetype point = value.indexOf(u'.');
        if (point < 0)
            return fail(u"默认值不能没有小数位", ItemField::Default);
        const qlonglong decimals = lengthValue(input.decLen);
        if (point + 1 > lengthValue(input.numLen) - decimals)
            return fail(u"默认值整数位长度太长", ItemField::Default);
        const qsizetype after = value.size() - point - 1;
        if (after == 0)
            return fail(u"默认值小数位没有输入", ItemField::Default);
        if (after > decimals)
            return fail(u"默认值小数位长度太长", ItemField::Default);
    } else if (type == u"5") {
        return dateDefaultCheck(input, false);
    } else if (type == u"14") {
        return dateDefaultCheck(input, true);
    }
    return std::nullopt;
}

RuleResult shrinkCheck(const ItemInput &input, int storedLength, int storedDecimals)
{
    if (isNumeric(input.numLen) && input.numLen.trimmed().toDouble() < storedLength)
        return RuleFailure{s(u"字段长度不能小于 ") + QString::number(storedLength)
                               + s(u"\u3000请重新输入"),
                           ItemField::NumLen};
    if (isNumeric(input.decLen) && input.decLen.trimmed().toDouble() < storedDecimals)
        return RuleFailure{s(u"字段小数位长度不能小于 ") + QString::number(storedDecimals)
                               + s(u"\u3000请重新输入"),
                           ItemField::DecLen};
    return std::nullopt;
}

bool isNumeric(const QString &text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

int wholeNumber(const QString &text, int fallback)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : fallback;
}

QString formatText(const QString &formatEntry)
{
    if (formatEntry.trimmed().isEmpty())
        return QString();
    return formatEntry.mid(CodePart(formatEntry).size() + 1);
}

QStringList pendingColumnTitles()
{
    return {s(u"信息项代码"),
            s(u"信息项名称"),
            s(u"描述"),
            s(u"数据类型"),
            s(u"参照对象"),
            s(u"录入最底层"),
            s(u"数据长度"),
            s(u"小数长度"),
            s(u"是否必录"),
            s(u"能否为空"),
            s(u"默认值"),
            s(u"数据格式"),
            s(u"备注"),
            s(u"信息表名"),
            s(u"显示顺序"),
            s(u"是否隐藏"),
            s(u"自定义")};
}

QStringList pendingColumns(const ItemInput &entry, const QString &tableCode)
{
    const ItemInput t = entry.trimmed();
    return {t.code,
            t.name,
            t.description,
            t.type,
            t.ref,
            t.lastLevel,
            t.numLen,
            t.decLen,
            t.required,
            t.nullable,
            t.defaultValue,
            t.format,
            t.memo,
            tableCode.trimmed(),
            t.showOrder,
            t.display,
            t.define};
}

ItemInput fromPendingColumns(const QStringList &columns)
{
    const auto at = [&columns](int i) { return i < columns.size() ? columns.at(i) : QString(); };
    ItemInput e;
    e.code = at(0);
    e.name = at(1);
    e.description = at(2);
    e.type = at(3);
    e.ref = at(4);
    e.lastLevel = at(5);
    e.numLen = at(6);
    e.decLen = at(7);
    e.required = at(8);
    e.nullable = at(9);
    e.defaultValue = at(10);
    e.format = at(11);
    e.memo = at(12);
    e.showOrder = at(14);
    e.display = at(15);
    e.define = at(16);
    return e;
}

clsHrSysItemDict newItemRecord(const ItemInput &entry, const QString &tableCode)
{
    clsHrSysItemDict r;
    r.setTableCode(tableCode.trimmed());
    r.setItemCode(entry.code);
    r.setItemname(entry.name);
    r.setDescription(entry.description);
    r.setItemtype(entry.typeCode());
    r.setReferenceObj(NamePart(entry.ref));
    r.setLastLevelFalg(CodePart(entry.lastLevel));
    r.setItemlen(zeroIfEmpty(entry.numLen));
    r.setItemdec(zeroIfEmpty(entry.decLen));
    r.setRflag(qint16(wholeNumber(CodePart(entry.required), 0)));
    r.setNflag(qint16(wholeNumber(CodePart(entry.nullable), 0)));
    r.setSdefault(entry.defaultValue);
    r.setSformat(formatText(entry.format));
    r.setDFlag(0);
    r.setBusinessFlag(4);
    r.setShowOrder(qint16(wholeNumber(entry.showOrder, 999)));
    r.setDisplay(qint16(wholeNumber(entry.display, 0)));
    r.setSFlag(qint16(wholeNumber(entry.define, 1)));
    const QString type = entry.typeCode();
    r.setDefaultField(type == u"13" || type == u"15" ? 1 : 0);
    r.setMemo(entry.memo);
    return r;
}

void applyModification(const ItemInput &input, clsHrSysItemDict &record, int rowsFallback)
{
    const ItemInput t = input.trimmed();
    record.setItemname(t.name);
    record.setDescription(t.description);
    // A type the list does not offer (the key type under OptFlag 0) stays as stored.
    if (!t.typeCode().isEmpty())
        record.setItemtype(t.typeCode());
    record.setReferenceObj(NamePart(t.ref));
    record.setLastLevelFalg(CodePart(t.lastLevel));
    record.setItemlen(zeroIfEmpty(t.numLen));
    record.setItemdec(zeroIfEmpty(t.decLen));
    record.setRflag(qint16(wholeNumber(CodePart(t.required), 0)));
    record.setNflag(qint16(wholeNumber(CodePart(t.nullable), 0)));
    record.setSdefault(t.defaultValue);
    record.setSformat(formatText(t.format));
    record.setShowOrder(qint16(wholeNumber(t.showOrder, rowsFallback)));
    record.setDisplay(qint16(wholeNumber(t.display, 0)));
    record.setSFlag(qint16(wholeNumber(t.define, 0)));
    record.setMemo(t.memo);
}

} // namespace ItemRules

} // namespace vorlane
