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
    qsizetype from = 0;
    qsizetype to = name.size();
    while (from < to && name.at(from) == u' ')
        ++from;
    while (to > from && name.at(to - 1) == u' ')
        --to;
    const QString trimmed = name.mid(from, to - from);
    if (!isIdentifier(trimmed)) {
        throw SqlInputError(
            subject(what, QStringLiteral("名称")) + QStringLiteral("“") + shown(name)
            + QStringLiteral("”不合法：须以字母或“_”开头，只能由字母、数字和“_”组成"));
    }
    return trimmed;
}

QString likePrefixText(const QString &code)
{
    QString out;
    out.reserve(code.size() + 8);
    for (const QChar c : code) {
        if (c == u'_' || c == u'%' || c == u'[')
            out += u'[' + QString(c) + u']';
        else
            out += c;
    }
    return sqlText(out);
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
