#include "Sql.h"

namespace vorlane::services {

namespace {

QString shown(const QString &value)
{
    // Keep error texts readable when someone pastes a whole document into a code box.
    constexpr qsizetype limit = 40;
    if (value.size() <= limit)
        return value;
    return value.left(limit) + QStringLiteral("...");
}

QString subject(const QString &what, const QString &fallback)
{
    return what.isEmpty() ? fallback : what;
}

} // namespace

QString sqlText(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    return escaped;
}

bool isIdentifier(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
        const bool digit = c >= u'0' && c <= u'9';
        if (!letter && !(digit && i > 0))
            return false;
    }
    return true;
}

QString checkedIdentifier(const QString &name, const QString &what)
{
    if (!isIdentifier(name)) {
        throw SqlInputError(
            subject(what, QStringLiteral("名称")) + QStringLiteral("“") + shown(name)
            + QStringLiteral("”不合法：须以字母或“_”开头，只能由字母、数字和“_”组成"));
    }
    return name;
}

QString checkedLikePrefix(const QString &prefix, const QString &what)
{
    for (const QChar c : prefix) {
        if (c == u'%' || c == u'_' || c == u'[' || c == u']') {
            throw SqlInputError(subject(what, QStringLiteral("编码")) + QStringLiteral("“")
                                + shown(prefix) + QStringLiteral("”含有匹配符“") + c
                                + QStringLiteral("”"));
        }
    }
    return prefix;
}

int checkedWholeNumber(const QString &text, const QString &what)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0) {
        throw SqlInputError(what + QStringLiteral("“") + shown(text)
                            + QStringLiteral("”不是非负整数"));
    }
    return value;
}

} // namespace vorlane::services
