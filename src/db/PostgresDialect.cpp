#include "Dialect.h"

#include "DbError.h"
#include "DialectSupport.h"
#include "Engine.h"
#include "PgTranslator.h"
#include "TsqlTokens.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace vorlane::db {

using namespace Qt::StringLiterals;

namespace {

// A blank text assigned to a number column stores 0, as the server converts it; in a text column
// it stays blank. The column's type is read from the catalogue only for such statements.
QString resolveBlanks(Engine &engine, const QString &sql)
{
    if (!sql.contains(u"/*vorlane:blank:"))
        return sql;
    const QList<tsql::Token> tokens = tsql::tokenize(sql);
    QHash<QString, bool> numeric; // "table:column" -> holds numbers
    QString out;
    bool zeroNext = false;
    for (const tsql::Token &tok : tokens) {
        QString table;
        QString column;
        if (tok.type == tsql::Token::Comment
            && PgTranslator::parseBlankMarker(tok.text, &table, &column)) {
            const QString key = table + u':' + column;
            if (!numeric.contains(key)) {
                RecordsetPtr rs = engine.QueryNative(
                    u"SELECT data_type FROM information_schema.columns WHERE table_schema = "
                    "current_schema() AND table_name = "_s
                    + tsql::quoteLiteral(table) + u" AND column_name = "_s
                    + tsql::quoteLiteral(column));
                const QString type = rs->Eof() ? QString() : rs->FieldValue(0).toString();
                numeric.insert(key,
                               type == u"smallint" || type == u"integer" || type == u"bigint"
                                   || type == u"real" || type == u"double precision");
            }
            zeroNext = numeric.value(key);
            continue;
        }
        if (zeroNext && tok.type == tsql::Token::String) {
            out += u'0';
            zeroNext = false;
            continue;
        }
        out += tok.text;
    }
    return out;
}

// Inside a transaction a statement runs in a savepoint: PostgreSQL aborts the whole transaction
// on the first error, SQL Server fails just the statement. Rolling back to the savepoint leaves
// the transaction as it was before the statement, usable by the caller.
template<typename Work>
auto inStatementSavepoint(Engine &engine, Work work)
{
    if (!engine.InTransaction())
        return work();
    engine.ExecuteNative(u"SAVEPOINT vorlane_statement"_s);
    try {
        auto result = work();
        engine.ExecuteNative(u"RELEASE SAVEPOINT vorlane_statement"_s);
        return result;
    } catch (...) {
        try {
            engine.ExecuteNative(u"ROLLBACK TO SAVEPOINT vorlane_statement"_s);
            engine.ExecuteNative(u"RELEASE SAVEPOINT vorlane_statement"_s);
        } catch (const DbError &) {
            // the statement's own error is the one worth reporting
        }
        throw;
    }
}

// bit columns are smallint holding 0 and 1 (the translation keeps smallint for them alone):
// they read as Boolean fields, as from the server.
class BitRecordset final : public Recordset
{
public:
    explicit BitRecordset(RecordsetPtr inner)
        : m_inner(std::move(inner))
    {
        QStringList names;
        QList<int> types;
        for (int i = 0; i < m_inner->FieldCount(); ++i) {
            names << m_inner->FieldName(i);
            const bool bit = m_inner->FieldType(i) == adSmallInt;
            m_bit << bit;
            types << (bit ? int(adBoolean) : m_inner->FieldType(i));
        }
        setColumns(names, types);
        setEof(m_inner->Eof());
    }

    static RecordsetPtr wrap(RecordsetPtr rs)
    {
        for (int i = 0; i < rs->FieldCount(); ++i) {
            if (rs->FieldType(i) == adSmallInt)
                return std::make_unique<BitRecordset>(std::move(rs));
        }
        return rs;
    }

protected:
    bool fetchNext() override
    {
        m_inner->MoveNext();
        return !m_inner->Eof();
    }
    QVariant valueAt(int index) const override
    {
        const QVariant v = m_inner->FieldValue(index);
        if (!m_bit.at(index) || !v.isValid())
            return v;
        return QVariant(v.toInt() != 0);
    }
    bool isNullAt(int index) const override { return m_inner->FieldIsNull(index); }
    Plain plainAt(int index, QString &text, int &number) const override
    {
        const Plain plain = m_inner->FieldPlain(index, text, number);
        if (plain == Plain::Integer && m_bit.at(index))
            number = number != 0 ? 1 : 0;
        return plain;
    }
    void closeImpl() override { m_inner->Close(); }

private:
    RecordsetPtr m_inner;
    QList<bool> m_bit;
};

// The first spelling of each name in a T-SQL text, by its lower case.
QHash<QString, QString> writtenNames(const QString &tsql)
{
    QHash<QString, QString> spelling;
    for (const tsql::Token &tok : tsql::tokenize(tsql)) {
        if (tok.type != tsql::Token::Word && tok.type != tsql::Token::Bracketed)
            continue;
        const QString word
            = tok.type == tsql::Token::Bracketed ? tok.text.mid(1, tok.text.size() - 2) : tok.text;
        if (!spelling.contains(word.toLower()))
            spelling.insert(word.toLower(), word);
    }
    return spelling;
}

// PostgreSQL folds unquoted names to lower case; the server names a result column as the query
// spells it.
RecordsetPtr spelledAsWritten(RecordsetPtr rs, const QString &tsql)
{
    QStringList names;
    for (int i = 0; i < rs->FieldCount(); ++i)
        names << rs->FieldName(i);
    if (std::none_of(
            names.cbegin(), names.cend(), [](const QString &n) { return n == n.toLower(); }))
        return rs;
    const QHash<QString, QString> spelling = writtenNames(tsql);
    for (QString &name : names) {
        if (name == name.toLower())
            name = spelling.value(name, name);
    }
    rs->RenameFields(names);
    return rs;
}

// What the translated statements need in the database, created once with its first text column:
// citext (a trusted extension: the database's owner may create it), and the server's implicit
// conversion of text in arithmetic with an integer ("max(code) + 1").
void prepareDatabase(Engine &engine)
{
    engine.ExecuteNative(u"CREATE EXTENSION IF NOT EXISTS citext"_s);
    engine.ExecuteNative(
        u"DO $$ BEGIN "
        "IF to_regprocedure('vorlane_text_plus_int(citext,integer)') IS NULL THEN "
        "CREATE FUNCTION vorlane_text_plus_int(citext, integer) RETURNS integer "
        "LANGUAGE sql IMMUTABLE AS 'SELECT CAST(coalesce(nullif(btrim(CAST($1 AS text)), ''''), "
        "''0'') AS integer) + $2'; "
        "CREATE OPERATOR + (LEFTARG = citext, RIGHTARG = integer, "
        "FUNCTION = vorlane_text_plus_int); "
        "END IF; END $$"_s);
}

void runStep(Engine &engine, const PgStep &step, long long *changed)
{
    if (!conditionHolds(engine, step.condition, step.conditionNegated))
        return;
    const QString sql = resolveBlanks(engine, step.sql);
    const long long n = engine.ExecuteNative(sql);
    if (changed && changesRows(sql))
        *changed = n;
}

// A length rule of the translation refused a value: the message names table, column and type, as
// on the other engines (PostgreSQL names only the constraint).
DbError refusalOf(Engine &engine, const DbError &error, const QString &tsql)
{
    static const QRegularExpression rx(
        u"relation \"(\\w+)\" violates check constraint \"vorlane_len_(\\w+)\""_s);
    const auto m = rx.match(error.message());
    if (!m.hasMatch())
        return error;
    const QString table = m.captured(1);
    const QString column = m.captured(2);
    QString declared;
    try {
        RecordsetPtr rs = engine.QueryNative(
            u"SELECT col_description(attrelid, attnum) FROM pg_attribute WHERE attrelid = "
            "to_regclass("_s
            + tsql::quoteLiteral(table) + u") AND attname = "_s + tsql::quoteLiteral(column));
        if (!rs->Eof())
            declared = rs->FieldValue(0).toString();
    } catch (const DbError &) {
        return error;
    }
    // The names as the statement spells them.
    const QHash<QString, QString> spelling = writtenNames(tsql);
    const QString tableName = spelling.value(table, table);
    const QString columnName = spelling.value(column, column);
    return DbError(valueRefusal(tableName, columnName, declared, std::nullopt));
}

} // namespace

QString PostgresDialect::Name() const
{
    return u"PostgreSQL"_s;
}

long long PostgresDialect::Execute(Engine &engine, const QString &tsql) const
{
    const QList<PgStep> steps = PgTranslator::translate(tsql);
    if (steps.isEmpty()) // like the server's command object, refuse to run nothing
        throw DbError(u"执行的语句为空"_s);
    try {
        return inStatementSavepoint(engine, [&] {
            if (!m_citextReady) {
                for (const PgStep &s : steps) {
                    if (s.sql.contains(u"citext")) {
                        prepareDatabase(engine);
                        m_citextReady = true;
                        break;
                    }
                }
            }
            long long changed = 0;
            for (const PgStep &s : steps)
                runStep(engine, s, &changed);
            return changed;
        });
    } catch (const DbError &e) {
        throw refusalOf(engine, e, tsql);
    }
}

RecordsetPtr PostgresDialect::Query(Engine &engine, const QString &tsql) const
{
    QList<PgStep> steps = PgTranslator::translate(tsql);
    return inStatementSavepoint(engine, [&] {
        // The record set is that of the last statement; the statements before it run first.
        if (steps.isEmpty() || !steps.last().condition.isEmpty())
            return BitRecordset::wrap(spelledAsWritten(engine.QueryNative(tsql), tsql));
        const PgStep last = steps.takeLast();
        for (const PgStep &s : std::as_const(steps))
            runStep(engine, s, nullptr);
        return BitRecordset::wrap(spelledAsWritten(engine.QueryNative(last.sql), tsql));
    });
}

} // namespace vorlane::db
