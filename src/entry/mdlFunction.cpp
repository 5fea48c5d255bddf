#include "mdlFunction.h"

#include "AnsiCodePage.h"
#include "Defs.h"
#include "MessageService.h"
#include "db/FieldType.h"

namespace vorlane {

QVariant NullSafeValue(const QVariant &value, int typeCode)
{
    const bool numeric = typeCode == db::adInteger || typeCode == db::adBoolean;
    if (db::isNullValue(value))
        return numeric ? QVariant(0) : QVariant(QString());
    if (typeCode == db::adBoolean)
        return QVariant(value.toBool() ? 1 : 0);
    return value;
}

void FilterNumericKey(qint16 &key, bool allowPoint, bool allowMinus)
{
    if (key < 0) {
        key = 0;
        return;
    }
    if (key < 32 || (key >= '0' && key <= '9'))
        return;
    if (key == '.' && allowPoint)
        return;
    if (key == '-' && allowMinus)
        return;
    key = 0;
}

void FilterCodeKey(qint16 &key)
{
    const bool keep = (key >= 0 && key < 32) || (key >= 'A' && key <= 'Z')
                      || (key >= 'a' && key <= 'z') || key == '_' || (key >= '0' && key <= '9');
    if (!keep)
        key = 0;
}

qint16 AnsiKeyCode(QChar c)
{
    const QByteArray bytes = ansiBytesOf(c.unicode());
    if (bytes.size() == 1)
        return qint16(quint8(bytes.at(0)));
    return qint16(quint16((quint8(bytes.at(0)) << 8) | quint8(bytes.at(1))));
}

bool IsNumericChar(QChar c, bool allowPoint, bool allowMinus)
{
    if (c.unicode() < 32)
        return false;
    qint16 key = AnsiKeyCode(c);
    FilterNumericKey(key, allowPoint, allowMinus);
    return key != 0;
}

bool IsCodeChar(QChar c)
{
    if (c.unicode() < 32)
        return false;
    qint16 key = AnsiKeyCode(c);
    FilterCodeKey(key);
    return key != 0;
}

bool IsNumericText(const QString &text, bool allowPoint, bool allowMinus)
{
    for (QChar c : text) {
        if (!IsNumericChar(c, allowPoint, allowMinus))
            return false;
    }
    return true;
}

bool IsCodeText(const QString &text)
{
    for (QChar c : text) {
        if (!IsCodeChar(c))
            return false;
    }
    return true;
}

QString CodePart(const QString &text)
{
    if (text.trimmed().isEmpty())
        return QString();
    return text.section(u'-', 0, 0);
}

QString NamePart(const QString &text)
{
    if (text.trimmed().isEmpty())
        return QString();
    return text.section(u'-', 1, 1);
}

int FindComboIndex(const QString &text, const QStringList &entries, bool byName)
{
    for (int i = 0; i < entries.size(); ++i) {
        const QString part = byName ? NamePart(entries.at(i)) : CodePart(entries.at(i));
        if (part == text)
            return i;
    }
    return -1;
}

int FindComboIndexByName(const QString &text, const QStringList &entries)
{
    for (int i = 0; i < entries.size(); ++i) {
        const QString &entry = entries.at(i);
        // Everything after the code and its "-", so that later "-" stay part of the name.
        if (entry.mid(CodePart(entry).size() + 1) == text)
            return i;
    }
    return -1;
}

QString KeyMiddleSegment(const QString &key)
{
    const qsizetype first = key.indexOf(u'^');
    if (first < 0)
        return QString();
    const qsizetype second = key.indexOf(u'^', first + 1);
    if (second < 0 || second - first <= 1)
        return QString();
    return key.mid(first + 1, second - first - 1);
}

QString KeyHeadBeforeCaret(const QString &key)
{
    const qsizetype caret = key.indexOf(u'^');
    if (caret <= 1)
        return QString();
    return key.mid(1, caret - 1);
}

namespace {

struct LetterRange
{
    char letter;
    int from;
    int to;
};

// Initial letters of the GB 2312 level-1 characters, which are ordered by their pinyin.
constexpr LetterRange kLetterRanges[] = {
    {'A', 1601, 1636}, {'B', 1637, 1832}, {'C', 1833, 2077}, {'D', 2078, 2273}, {'E', 2274, 2301},
    {'F', 2302, 2432}, {'G', 2433, 2593}, {'H', 2594, 2786}, {'J', 2787, 3105}, {'K', 3106, 3211},
    {'L', 3212, 3471}, {'M', 3472, 3634}, {'N', 3635, 3721}, {'O', 3722, 3729}, {'P', 3730, 3857},
    {'Q', 3858, 4026}, {'R', 4027, 4085}, {'S', 4086, 4389}, {'T', 4390, 4557}, {'W', 4558, 4683},
    {'X', 4684, 4924}, {'Y', 4925, 5248}, {'Z', 5249, 5589},
};

// What a double-byte character with row-and-cell number q adds to the simple-spell.
QString spellOfRowCell(int q)
{
    if (q == 101)
        return QStringLiteral(" ");
    if (q >= 316 && q <= 325) // full-width digits
        return QString(QChar(q - 268));
    if (q >= 333 && q <= 358) // full-width capitals
        return QString(QChar(q - 268));
    if (q >= 365 && q <= 390) // full-width small letters, spelled as capitals
        return QString(QChar(q - 300));
    if (q < 1601)
        return QString();
    if (q > 5589)
        return QStringLiteral("*");
    for (const LetterRange &range : kLetterRanges) {
        if (q >= range.from && q <= range.to)
            return QString(QLatin1Char(range.letter));
    }
    return QString();
}

} // namespace

QString MakeSimpleSpell(const QString &text)
{
    QString spell;
    for (char32_t point : codePointsOf(text)) {
        const QByteArray bytes = ansiBytesOf(point);
        if (bytes.size() == 1) {
            const char32_t upper = QChar::toUpper(point);
            spell += QString::fromUcs4(&upper, 1);
        } else {
            const int lead = quint8(bytes.at(0));
            const int trail = quint8(bytes.at(1));
            spell += spellOfRowCell((lead - 160) * 100 + (trail - 160));
        }
    }
    return spell;
}

int AnsiByteLength(const QString &text)
{
    int length = 0;
    for (char32_t point : codePointsOf(text))
        length += int(ansiBytesOf(point).size());
    return length;
}

bool IsLegalText(const QString &text)
{
    if (text.trimmed().isEmpty())
        return true;
    static const QString illegal = QStringLiteral(
        "*%`~!@#$^&():|<>?'\"\\/,.'[]{}-\uFF01\uFF1F\uFF0C\u3002\u3001\u2018\u2019\u201C\u201D"
        "\u300A\u300B");
    for (QChar c : text) {
        if (illegal.contains(c))
            return false;
    }
    return true;
}

int HelpContextNumber(const QString &menuId, const QString &sysId)
{
    QString rest = menuId;
    if (!sysId.isEmpty())
        rest.remove(sysId);
    rest = rest.trimmed();
    if (rest.isEmpty())
        return 0;
    for (QChar c : rest) {
        if (c < u'0' || c > u'9')
            return 0;
    }
    while (rest.size() > 1 && rest.startsWith(u'0'))
        rest.remove(0, 1);
    bool ok = false;
    const int number = QString(u'2' + rest.rightJustified(7, u'0')).toInt(&ok);
    return ok ? number : 0;
}

int HelpContextNumber()
{
    const Defs &defs = Defs::instance();
    return HelpContextNumber(defs.MenuID, defs.SYSID);
}

QList<StatusBarPanel> StatusBarTexts()
{
    const Defs &defs = Defs::instance();
    VexaLogin &login = defs.login();
    QString operatorText = u"操作员：" + login.OperatorName();
    if (defs.IsAdmin)
        operatorText += u"(账套主管)";
    return {
        {u"账套：[" + login.AccountCode() + u"]" + login.AccountName(), -1},
        {operatorText, 184},
        {u"业务日期：" + login.BusinessDate().toString(u"yyyy-MM-dd"), 136},
        {QString(), 40},
        {QStringLiteral("[星桥软件]"), 80},
    };
}

bool CheckFunctionRight(const QString &functionCode, bool begin)
{
    const Defs &defs = Defs::instance();
    VexaLogin &login = defs.login();
    if (login.RequestTask(functionCode, begin, 0))
        return true;

    bool granted = false;
    if (login.LastErrorNumber() == 22) {
        granted = true;
    } else {
        const QString title = QStringLiteral("提示信息");
        const QString reason = login.LastErrorText();
        if (reason.trimmed().isEmpty()) {
            if (!defs.ZWPub)
                throw HostError(QStringLiteral("宿主尚未提供功能名称对象"));
            const QString name = defs.ZWPub->FunctionName(functionCode);
            showMessage(u"[" + name + u"]功能暂时不能执行！", title, MsgIcon::Critical);
        } else {
            showMessage(reason, title, MsgIcon::Critical);
        }
    }
    login.ClearError();
    return granted;
}

bool HasTMFirstDate()
{
    db::RecordsetPtr rs;
    bool result = false;
    try {
        rs = Defs::instance().conn().OpenRecordset(QStringLiteral(
            "select cValue from AccInformation where cSysId='TM' and cname='dTMFirstDate'"));
        if (!rs->Eof() && !rs->FieldIsNull(0)) {
            const QVariant value = NullSafeValue(rs->FieldValue(0), rs->FieldType(0));
            result = !value.toString().trimmed().isEmpty();
        }
    } catch (...) {
        result = false;
    }
    try {
        if (rs && rs->IsOpen())
            rs->Close();
    } catch (...) {
    }
    return result;
}

} // namespace vorlane
