#include "TsqlTranslator.h"

#include "TsqlRewriter.h"

#include <QRegularExpression>

namespace vorlane::db {

using namespace Qt::StringLiterals;

namespace {

using namespace tsql;

// A SQL Server collation name as SQLite understands it: *_CI_* compares without case.
QString mapCollation(const QString &name)
{
    const QString n = name.toUpper();
    if (n == u"NOCASE" || n == u"BINARY" || n == u"RTRIM")
        return name;
    if (n.contains(u"_CI"))
        return u"NOCASE"_s;
    if (n.contains(u"_CS") || n.contains(u"_BIN"))
        return u"BINARY"_s;
    return name;
}

// strftime() pattern of a date layout in to_char() notation.
QString strftimePattern(QString layout)
{
    static const std::pair<QString, QString> parts[]{{u"YYYY"_s, u"%Y"_s},
                                                     {u"MM"_s, u"%m"_s},
                                                     {u"DD"_s, u"%d"_s},
                                                     {u"HH24"_s, u"%H"_s},
                                                     {u"MI"_s, u"%M"_s},
                                                     {u"SS.MS"_s, u"%f"_s},
                                                     {u"SS"_s, u"%S"_s},
                                                     {u"\"T\""_s, u"T"_s}};
    for (const auto &[from, to] : parts)
        layout.replace(from, to);
    return layout;
}

class SqliteRewriter final : public Rewriter
{
public:
    explicit SqliteRewriter(const QList<Token> &tokens)
        : Rewriter(tokens,
                   {.isNull = u"ifnull(%1)"_s,
                    .length = u"length(rtrim(%1))"_s,
                    .now = u"datetime('now','localtime')"_s,
                    .newGuid = TsqlTranslator::newGuidExpression(),
                    .numericTypeArguments = true,  // SQLite takes no "(max)"
                    .parenthesizedDefaults = true, // SQLite's DEFAULT takes no bare call
                    .oneActionPerAlter = true})
    {}

    TsqlTranslator::ColumnChange retype(const QString &column,
                                        const QString &newType,
                                        const QString &nullability,
                                        const QString &newTableName) const;

protected:
    QString conversion(const Conversion &c) const override;
    std::optional<QString> collation(const Token &name) const override
    {
        return name.type == Token::Word ? std::optional(mapCollation(name.text)) : std::nullopt;
    }
    QString columnDefinition(const Column &c) override
    {
        const bool nocase = !c.collated && TsqlTranslator::isTextType(c.type);
        return joined(
            {c.name->text,
             c.type,
             nocase ? u"COLLATE NOCASE"_s : QString(),
             c.rest,
             TsqlTranslator::valueConstraint(c.table, stripIdentifier(c.name->text), c.type)});
    }
    // SQLite's ALTER TABLE changes no column: the dialect rebuilds the table.
    QList<TranslatedStep> alterColumn(const QString &,
                                      const QString &table,
                                      const Token &column,
                                      const QString &type,
                                      const QString &nullability) override
    {
        TranslatedStep step;
        step.kind = TranslatedStep::AlterColumn;
        step.table = table;
        step.column = stripIdentifier(column.text);
        step.columnType = type;
        step.nullability = nullability;
        return {step};
    }
    QString tableExists(const QString &name, bool userTable) const override
    {
        return u"SELECT 1 FROM sqlite_schema WHERE "_s
               + (userTable ? u"type = 'table'"_s : u"type IN ('table', 'view')"_s)
               + u" AND name = "_s + quoteLiteral(name) + u" COLLATE NOCASE"_s;
    }

private:
    int valueConstraintEnd(int i, int e) const;
};

QString SqliteRewriter::conversion(const Conversion &c) const
{
    const QString &expr = c.expr;
    switch (c.target) {
    case Conversion::Text: {
        QString result = u"CAST("_s + expr + u" AS TEXT)"_s;
        if (!c.dateLayout.isEmpty()) {
            // The style applies to date values only; other values convert as they are.
            result = u"(CASE WHEN "_s + expr
                     + u" GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]*' THEN strftime('"_s
                     + strftimePattern(c.dateLayout) + u"', "_s + expr + u") ELSE "_s + result
                     + u" END)"_s;
        }
        bool ok = false;
        const int n = c.length.toInt(&ok);
        if (ok && n > 0)
            result = u"substr("_s + result + u", 1, "_s + QString::number(n) + u')';
        return result;
    }
    case Conversion::Integer:
        return u"CAST("_s + expr + u" AS INTEGER)"_s;
    case Conversion::Bit:
        return u"(CASE WHEN ("_s + expr + u") IS NULL THEN NULL WHEN CAST("_s + expr
               + u" AS REAL) <> 0 THEN 1 ELSE 0 END)"_s;
    case Conversion::Decimal: {
        const int scale = c.type.endsWith(u"money") ? 4 : c.scale.toInt();
        return u"round(CAST("_s + expr + u" AS REAL), "_s + QString::number(scale) + u')';
    }
    case Conversion::Float:
        return u"CAST("_s + expr + u" AS REAL)"_s;
    case Conversion::DateTime: {
        QString value = expr;
        if (c.style == 112)
            value = u"(substr("_s + expr + u",1,4)||'-'||substr("_s + expr
                    + u",5,2)||'-'||substr("_s + expr + u",7,2))"_s;
        return (c.type == u"date" ? u"date("_s : u"datetime("_s) + value + u')';
    }
    }
    return {};
}

// When a value constraint of ours begins at i: the end of its CHECK ( ... ), else -1.
int SqliteRewriter::valueConstraintEnd(int i, int e) const
{
    if (!isWord(t[i], u"CONSTRAINT"))
        return -1;
    const int name = nextSig(i + 1, e);
    if (name < 0 || t[name].type != Token::DQuoted || !t[name].text.startsWith(u"\"vorlane:"))
        return -1;
    const int check = nextSig(name + 1, e);
    const int open = check >= 0 && isWord(t[check], u"CHECK") ? nextSig(check + 1, e) : -1;
    if (open < 0 || !isPunct(t[open], u"("))
        return -1;
    const int close = matching(open, e);
    return close < 0 ? -1 : close + 1;
}

TsqlTranslator::ColumnChange SqliteRewriter::retype(const QString &column,
                                                    const QString &newType,
                                                    const QString &nullability,
                                                    const QString &newTableName) const
{
    TsqlTranslator::ColumnChange change;
    const int e = int(t.size());
    int open = -1;
    for (int i = 0; i < e; ++i) {
        if (isPunct(t[i], u"(")) {
            open = i;
            break;
        }
    }
    const int close = open >= 0 ? matching(open, e) : -1;
    if (close < 0)
        return change;
    for (const auto &[pb, pe] : splitCommas(open + 1, close)) {
        const int name = nextSig(pb, pe);
        if (name < 0 || t[name].type == Token::String
            || stripIdentifier(t[name].text).compare(column, Qt::CaseInsensitive) != 0)
            continue;
        const int tEnd = typeEnd(name + 1, pe);
        change.found = true;
        change.oldType = normalizedType(name + 1, tEnd);
        QString constraints;
        bool hasCollate = false;
        for (int i = tEnd; i < pe; ++i) {
            const int checkEnd = valueConstraintEnd(i, pe);
            if (checkEnd > 0) { // the new type brings its own
                change.wasChecked = true;
                i = checkEnd - 1;
                continue;
            }
            if (isWord(t[i], u"NOT")) {
                const int nl = nextSig(i + 1, pe);
                if (nl >= 0 && isWord(t[nl], u"NULL")) {
                    change.wasNotNull = true;
                    if (nullability == u"NULL") {
                        i = nl;
                        continue;
                    }
                }
            }
            if (isWord(t[i], u"COLLATE"))
                hasCollate = true;
            constraints += t[i].text;
        }
        constraints = constraints.trimmed();
        if (nullability == u"NOT NULL" && !change.wasNotNull)
            constraints = QString(constraints + u" NOT NULL"_s).trimmed();
        QString def = t[name].text + u' ' + newType;
        if (!hasCollate && TsqlTranslator::isTextType(newType))
            def += u" COLLATE NOCASE"_s;
        if (!constraints.isEmpty())
            def += u' ' + constraints;
        const QString check = TsqlTranslator::valueConstraint(
            tableName(0, open), stripIdentifier(t[name].text), newType);
        if (!check.isEmpty())
            def += u' ' + check;
        // keep the blanks around the definition as they were
        int lead = pb;
        while (lead < pe && !t[lead].significant())
            ++lead;
        int trail = pe;
        while (trail > lead && !t[trail - 1].significant())
            --trail;
        QString head = raw(0, open);
        if (!newTableName.isEmpty()) {
            const int nameBegin = tableNameBegin(0, open);
            if (nameBegin < 0)
                return TsqlTranslator::ColumnChange{};
            head = raw(0, nameBegin) + quoteIdentifier(newTableName) + u' ';
        }
        change.createSql = head + u'(' + raw(open + 1, lead) + def + raw(trail, close) + u')'
                           + raw(close + 1, e);
        return change;
    }
    return change;
}

} // namespace

QList<SqliteStep> TsqlTranslator::translate(const QString &tsql)
{
    const QList<Token> tokens = tokenize(tsql);
    return SqliteRewriter(tokens).translate();
}

TsqlTranslator::ColumnChange TsqlTranslator::retypeColumn(const QString &createSql,
                                                          const QString &column,
                                                          const QString &newType,
                                                          const QString &nullability,
                                                          const QString &newTableName)
{
    const QList<Token> tokens = tokenize(createSql);
    return SqliteRewriter(tokens).retype(column, newType, nullability, newTableName);
}

QString TsqlTranslator::affinityOf(const QString &declaredType)
{
    const QString u = stripIdentifier(declaredType).toUpper();
    if (u.contains(u"INT"))
        return u"INTEGER"_s;
    if (u.contains(u"CHAR") || u.contains(u"CLOB") || u.contains(u"TEXT"))
        return u"TEXT"_s;
    if (u.contains(u"BLOB") || u.trimmed().isEmpty())
        return u"BLOB"_s;
    if (u.contains(u"REAL") || u.contains(u"FLOA") || u.contains(u"DOUB"))
        return u"REAL"_s;
    return u"NUMERIC"_s;
}

bool TsqlTranslator::isTextType(const QString &declaredType)
{
    static const QRegularExpression rx(
        u"^\\s*(char|varchar|nchar|nvarchar|text|ntext|character|varying|uniqueidentifier|zquid)"
        "\\b"_s,
        QRegularExpression::CaseInsensitiveOption);
    return rx.match(stripIdentifier(declaredType)).hasMatch();
}

TsqlTranslator::ValueRule TsqlTranslator::valueRule(const QString &declaredType)
{
    static const QRegularExpression rx(u"^\\s*(\\w+)\\s*(?:\\(\\s*(\\d+)\\s*\\))?\\s*$"_s);
    const auto m = rx.match(stripIdentifier(declaredType));
    ValueRule rule;
    if (!m.hasMatch())
        return rule;
    const QString base = m.captured(1).toLower();
    const int length = m.captured(2).toInt();
    if (m.captured(2).isEmpty()) {
        if (base == u"int" || base == u"integer" || base == u"smallint" || base == u"tinyint"
            || base == u"bigint" || base == u"bit")
            rule.kind = ValueRule::Number;
    } else if (length > 0) {
        if (base == u"char" || base == u"varchar")
            rule.kind = ValueRule::Bytes;
        else if (base == u"nchar" || base == u"nvarchar")
            rule.kind = ValueRule::Characters;
        rule.length = length;
    }
    return rule;
}

QString TsqlTranslator::valueCheck(const QString &expr, const QString &declaredType)
{
    const ValueRule rule = valueRule(declaredType);
    switch (rule.kind) {
    case ValueRule::Number:
        // Integer affinity has already made a number of '12'; the server stores '' as 0.
        return u"typeof(%1) <> 'text' OR trim(%1) = ''"_s.arg(expr);
    case ValueRule::Characters:
        // The server drops trailing blanks that do not fit without complaint.
        return u"length(rtrim(%1)) <= %2"_s.arg(expr).arg(rule.length);
    case ValueRule::Bytes: {
        // Bytes of code page 936: one per ASCII character, two per other character. Built-in
        // SQL knows the characters n, the UTF-8 bytes u and the count d of '·' (frequent in
        // names): n + d + (u - n - d + 1) / 2. Exact for ASCII, for characters of three UTF-8
        // bytes (every Chinese character and full-width sign of the code page), for '·' and for
        // one other character of two UTF-8 bytes; with more of these (accented Latin, Greek,
        // Cyrillic) each counts one and a half. For text of the code page the count never exceeds
        // the server's, so nothing it stores is refused; it never exceeds u either, which SQLite
        // knows without reading the text: most values pass on that alone.
        const QString r = u"rtrim("_s + expr + u')';
        const QString dots = u"(length(%1) - length(replace(%1, '·', '')))"_s.arg(r);
        return u"length(CAST(%4 AS BLOB)) <= %3 OR length(%1) + %2 + (length(CAST(%1 AS BLOB)) "
               "- length(%1) - %2 + 1) / 2 <= %3"_s.arg(r, dots)
                   .arg(rule.length)
                   .arg(expr);
    }
    case ValueRule::None:
        break;
    }
    return {};
}

QString TsqlTranslator::valueConstraint(const QString &table,
                                        const QString &column,
                                        const QString &declaredType)
{
    const QString check = valueCheck(quoteIdentifier(column), declaredType);
    if (check.isEmpty() || table.isEmpty())
        return {};
    return u"CONSTRAINT "_s + quoteIdentifier(u"vorlane:"_s + table + u':' + column) + u" CHECK ("_s
           + check + u')';
}

bool TsqlTranslator::failedValueConstraint(const QString &message, QString *table, QString *column)
{
    static const QRegularExpression rx(u"CHECK constraint failed: vorlane:([^:\\s]+):([^\\s]+)"_s);
    const auto m = rx.match(message);
    if (!m.hasMatch())
        return false;
    *table = m.captured(1);
    *column = m.captured(2);
    return true;
}

QString TsqlTranslator::newGuidExpression()
{
    // Version 4 layout; no sub-query, so it is also valid as a column DEFAULT.
    return u"(hex(randomblob(4))||'-'||hex(randomblob(2))||'-4'||substr(hex(randomblob(2)),2)"
           "||'-'||substr('89AB',1+(abs(random())%4),1)||substr(hex(randomblob(2)),2)||'-'"
           "||hex(randomblob(6)))"_s;
}

} // namespace vorlane::db
