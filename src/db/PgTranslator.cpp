#include "PgTranslator.h"

#include "TsqlRewriter.h"
#include "TsqlTranslator.h"

#include <QRegularExpression>

namespace vorlane::db {

using namespace Qt::StringLiterals;
using namespace tsql;

namespace {

// PostgreSQL folds unquoted names to lower case; quoted ones are kept as written. Every name the
// component writes is therefore given in lower case, bracketed or not.
QString pgName(const Token &tok)
{
    if (tok.type == Token::Bracketed || tok.type == Token::DQuoted)
        return quoteIdentifier(stripIdentifier(tok.text).toLower());
    return tok.text;
}

class PgRewriter final : public Rewriter
{
public:
    explicit PgRewriter(const QList<Token> &tokens)
        : Rewriter(tokens,
                   {.isNull = u"coalesce(%1)"_s,
                    .length = u"char_length(rtrim(CAST((%1) AS text)))"_s,
                    .now = u"LOCALTIMESTAMP(3)"_s,
                    .newGuid = u"gen_random_uuid()"_s,
                    .marksBlanks = true})
    {}

protected:
    QString conversion(const Conversion &c) const override;
    // citext compares without case already; SQL Server's collation names mean nothing here.
    std::optional<QString> collation(const Token &name) const override
    {
        if (name.type == Token::Word || name.type == Token::Bracketed)
            return QString();
        return std::nullopt;
    }
    // An alias keeps its case: it is the caption of a result column.
    QString quotedName(const Token &name, bool alias) const override
    {
        return alias ? quoteIdentifier(stripIdentifier(name.text)) : pgName(name);
    }
    QString columnDefinition(const Column &c) override
    {
        int length = 0;
        const QString type = PgTranslator::columnType(c.type, &length);
        const QString column = stripIdentifier(c.name->text).toLower();
        if (!c.type.isEmpty())
            m_declared.append({column, c.type});
        return joined({quoteIdentifier(column),
                       type,
                       c.rest,
                       PgTranslator::lengthConstraint(column, c.type)});
    }
    QList<TranslatedStep> alterColumn(const QString &head,
                                      const QString &table,
                                      const Token &column,
                                      const QString &type,
                                      const QString &nullability) override;
    QList<TranslatedStep> columnsDefined(const QString &table) override;
    // citext's LIKE cannot use an index; lower() on both sides means the same and can use the
    // prefix index of a key column (keyDefined).
    QString
    nameLike(const QString &name, const QString &pattern, const QString &escape) const override
    {
        return u"lower(CAST("_s + name + u" AS text)) LIKE lower("_s + pattern + u')' + escape;
    }
    QList<TranslatedStep> keyDefined(const QString &table,
                                     const QList<QPair<QString, QString>> &key) override;
    QString tableExists(const QString &name, bool userTable) const override
    {
        return u"SELECT 1 FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n"
               " ON n.oid = c.relnamespace WHERE n.nspname = current_schema() AND "_s
               + (userTable ? u"c.relkind IN ('r', 'p')"_s : u"c.relkind IN ('r', 'p', 'v', 'm')"_s)
               + u" AND c.relname = "_s + quoteLiteral(name.toLower());
    }
    QString blankMarker(const QString &table, const QString &column) const override
    {
        return PgTranslator::blankMarker(table, column);
    }

private:
    QList<QPair<QString, QString>> m_declared; // column, T-SQL type
};

// COMMENT ON COLUMN steps that keep the T-SQL declared type of the columns just defined.
QList<TranslatedStep> PgRewriter::columnsDefined(const QString &table)
{
    QList<TranslatedStep> steps;
    for (const auto &[column, type] : std::as_const(m_declared)) {
        if (!table.isEmpty())
            steps << native(u"COMMENT ON COLUMN "_s + quoteIdentifier(table.toLower()) + u'.'
                            + quoteIdentifier(column) + u" IS "_s + quoteLiteral(type.toLower()));
    }
    m_declared.clear();
    return steps;
}

// An index for left-anchored LIKE on each text column of the key: codes are deleted and read by
// prefix. It goes with the table when the table is dropped.
QList<TranslatedStep> PgRewriter::keyDefined(const QString &table,
                                             const QList<QPair<QString, QString>> &key)
{
    QList<TranslatedStep> steps;
    for (const auto &[column, type] : key) {
        if (table.isEmpty() || PgTranslator::columnType(type) != u"citext")
            continue;
        const QString c = column.toLower();
        steps << native(u"CREATE INDEX IF NOT EXISTS "_s
                        + quoteIdentifier(u"vorlane_prefix_"_s + table.toLower() + u'_' + c)
                        + u" ON "_s + quoteIdentifier(table.toLower()) + u" (lower(CAST("_s
                        + quoteIdentifier(c) + u" AS text)) text_pattern_ops)"_s);
    }
    return steps;
}

// Values go through text, so that text and numbers convert alike, as the server converts them.
QString PgRewriter::conversion(const Conversion &c) const
{
    const QString asText = u"CAST(("_s + c.expr + u") AS text)"_s;
    const QString blankOrNumber = u"(CASE WHEN btrim("_s + asText
                                  + u") = '' THEN 0 ELSE CAST(btrim("_s + asText
                                  + u") AS numeric) END)"_s;
    switch (c.target) {
    case Conversion::Text: {
        QString result = asText;
        if (!c.dateLayout.isEmpty()) {
            // The style applies to date values only; other values convert as they are.
            result = u"(CASE WHEN "_s + asText + u" ~ '^\\d{4}-\\d{2}-\\d{2}' THEN to_char(CAST("_s
                     + asText + u" AS timestamp), '"_s + c.dateLayout + u"') ELSE "_s + asText
                     + u" END)"_s;
        }
        bool ok = false;
        const int n = c.length.toInt(&ok);
        // CONVERT(char, x) is char(30)
        const int keep
            = ok && n > 0 ? n : (c.length.isEmpty() && c.type.endsWith(u"char") ? 30 : 0);
        if (keep > 0)
            result = u"left("_s + result + u", "_s + QString::number(keep) + u')';
        return u"CAST("_s + result + u" AS citext)"_s;
    }
    case Conversion::Integer:
        return u"CAST(trunc("_s + blankOrNumber + u") AS "_s
               + (c.type == u"bigint" ? u"bigint"_s : u"integer"_s) + u')';
    case Conversion::Bit:
        return u"CAST((CASE WHEN ("_s + c.expr + u") IS NULL THEN NULL WHEN "_s + blankOrNumber
               + u" <> 0 THEN 1 ELSE 0 END) AS smallint)"_s;
    case Conversion::Decimal: {
        QString target = u"numeric"_s;
        if (c.type.endsWith(u"money"))
            target = u"numeric(19,4)"_s;
        else if (!c.length.isEmpty())
            target = u"numeric(%1,%2)"_s.arg(c.length, c.scale.isEmpty() ? u"0"_s : c.scale);
        return u"CAST(CAST(btrim("_s + asText + u") AS numeric) AS "_s + target + u')';
    }
    case Conversion::Float:
        return u"CAST("_s + blankOrNumber + u" AS double precision)"_s;
    case Conversion::DateTime: {
        const QString target = c.type == u"date" ? u"date"_s : u"timestamp(3)"_s;
        if (c.style == 112)
            return u"CAST(to_timestamp("_s + asText + u", 'YYYYMMDD') AS "_s + target + u')';
        return u"CAST("_s + asText + u" AS "_s + target + u')';
    }
    }
    return {};
}

QList<TranslatedStep> PgRewriter::alterColumn(const QString &head,
                                              const QString &table,
                                              const Token &column,
                                              const QString &tsqlType,
                                              const QString &nullability)
{
    int length = 0;
    const QString type = PgTranslator::columnType(tsqlType, &length);
    const QString name = stripIdentifier(column.text).toLower();
    const QString c = quoteIdentifier(name);
    const QString asText = u"CAST("_s + c + u" AS text)"_s;
    // The server converts a blank text to 0 for a number column.
    const bool numeric = type == u"integer" || type == u"smallint" || type == u"bigint"
                         || type.startsWith(u"numeric") || type == u"double precision"
                         || type == u"real";
    const QString value = numeric ? u"(CASE WHEN btrim("_s + asText + u") = '' THEN '0' ELSE "_s
                                        + asText + u" END)"_s
                                  : asText;
    QStringList actions{u"DROP CONSTRAINT IF EXISTS "_s
                            + quoteIdentifier(PgTranslator::lengthConstraintName(name)),
                        u"ALTER COLUMN "_s + c + u" TYPE "_s + type + u" USING CAST("_s + value
                            + u" AS "_s + type + u')'};
    if (nullability == u"NULL")
        actions << u"ALTER COLUMN "_s + c + u" DROP NOT NULL"_s;
    else if (nullability == u"NOT NULL")
        actions << u"ALTER COLUMN "_s + c + u" SET NOT NULL"_s;
    const QString rule = PgTranslator::lengthConstraint(name, tsqlType);
    QList<TranslatedStep> steps{native(head + u' ' + actions.join(u", "_s))};
    if (!rule.isEmpty()) {
        steps[0].sql += u", ADD "_s + rule;
        // The rows meet the old rule; a rule no stricter (same kind, a length at least as large)
        // needs no check of them. The old declared type is in the column's comment.
        const TsqlTranslator::ValueRule r = TsqlTranslator::valueRule(tsqlType);
        const QString comment = u"col_description(attrelid, attnum)"_s;
        steps[0].condition
            = u"SELECT 1 FROM pg_catalog.pg_attribute WHERE attrelid = to_regclass("_s
              + quoteLiteral(table.toLower()) + u") AND attname = "_s + quoteLiteral(name)
              + u" AND "_s + comment
              + (r.kind == TsqlTranslator::ValueRule::Bytes ? u" ~ '^(var)?char\\(\\d+\\)$'"_s
                                                            : u" ~ '^n(var)?char\\(\\d+\\)$'"_s)
              + u" AND CAST(substring("_s + comment + u" from '\\d+') AS integer) <= "_s
              + QString::number(r.length);
        steps << steps[0];
        steps[0].sql += u" NOT VALID"_s;
        steps[1].conditionNegated = true;
    }
    m_declared.append({name, tsqlType});
    return steps + columnsDefined(table);
}

} // namespace

QList<PgStep> PgTranslator::translate(const QString &tsql)
{
    const QList<Token> tokens = tokenize(tsql);
    return PgRewriter(tokens).translate();
}

QString PgTranslator::columnType(const QString &tsqlType, int *length)
{
    if (length)
        *length = 0;
    static const QRegularExpression rx(
        u"^\\s*(\\w+(?:\\s+\\w+)?)\\s*(?:\\(\\s*(\\w+)\\s*(?:,\\s*(\\d+)\\s*)?\\))?\\s*$"_s);
    const auto m = rx.match(stripIdentifier(tsqlType));
    if (!m.hasMatch())
        return tsqlType;
    const QString base = m.captured(1).toLower();
    const QString size = m.captured(2);
    static const QSet<QString> text{u"char"_s,
                                    u"varchar"_s,
                                    u"nchar"_s,
                                    u"nvarchar"_s,
                                    u"character"_s,
                                    u"character varying"_s,
                                    u"text"_s,
                                    u"ntext"_s,
                                    u"sysname"_s,
                                    u"citext"_s};
    if (text.contains(base)) {
        bool ok = false;
        const int n = size.toInt(&ok);
        if (length && ok && n > 0 && base != u"text" && base != u"ntext")
            *length = n;
        else if (length && size.isEmpty() && (base == u"char" || base == u"nchar"))
            *length = 1;
        return u"citext"_s;
    }
    if (base == u"bit")
        return u"smallint"_s;
    if (base == u"int" || base == u"integer" || base == u"smallint" || base == u"tinyint")
        return u"integer"_s;
    if (base == u"bigint")
        return u"bigint"_s;
    if (base == u"float" || base == u"double precision")
        return u"double precision"_s;
    if (base == u"real")
        return u"real"_s;
    if (base == u"decimal" || base == u"numeric") {
        if (size.isEmpty())
            return u"numeric(18,0)"_s;
        return u"numeric(%1,%2)"_s.arg(size, m.captured(3).isEmpty() ? u"0"_s : m.captured(3));
    }
    if (base == u"money")
        return u"numeric(19,4)"_s;
    if (base == u"smallmoney")
        return u"numeric(10,4)"_s;
    if (base == u"datetime" || base == u"datetime2")
        return u"timestamp(3)"_s;
    if (base == u"smalldatetime")
        return u"timestamp(0)"_s;
    if (base == u"date" || base == u"time")
        return base;
    if (base == u"uniqueidentifier" || base == u"zquid")
        return u"uuid"_s;
    if (base == u"image" || base == u"varbinary" || base == u"binary")
        return u"bytea"_s;
    return tsqlType;
}

QString PgTranslator::lengthConstraintName(const QString &column)
{
    return u"vorlane_len_"_s + column.toLower();
}

QString PgTranslator::lengthConstraint(const QString &column, const QString &declaredType)
{
    const TsqlTranslator::ValueRule rule = TsqlTranslator::valueRule(declaredType);
    if (rule.kind != TsqlTranslator::ValueRule::Bytes
        && rule.kind != TsqlTranslator::ValueRule::Characters)
        return {};
    // The server drops trailing blanks that do not fit without complaint.
    const QString text = u"rtrim(CAST("_s + quoteIdentifier(column.toLower()) + u" AS text))"_s;
    const QString n = QString::number(rule.length);
    QString check = u"char_length(%1) <= %2"_s.arg(text, n);
    if (rule.kind == TsqlTranslator::ValueRule::Bytes) {
        // Bytes of code page 936: one per ASCII character, two per other character. UTF-8 never
        // has fewer, so most values pass on their stored length alone.
        check = u"octet_length(%1) <= %2 OR char_length(%1) + char_length(regexp_replace(%1, "
                "'[\\x01-\\x7f]', '', 'g')) <= %2"_s.arg(text, n);
    }
    return u"CONSTRAINT "_s + quoteIdentifier(lengthConstraintName(column)) + u" CHECK ("_s + check
           + u')';
}

QString PgTranslator::blankMarker(const QString &table, const QString &column)
{
    return u"/*vorlane:blank:"_s + table.toLower() + u':' + column.toLower() + u"*/"_s;
}

bool PgTranslator::parseBlankMarker(const QString &comment, QString *table, QString *column)
{
    static const QRegularExpression rx(u"^/\\*vorlane:blank:(\\w+):(\\w+)\\*/$"_s);
    const auto m = rx.match(comment);
    if (!m.hasMatch())
        return false;
    *table = m.captured(1);
    *column = m.captured(2);
    return true;
}

} // namespace vorlane::db
