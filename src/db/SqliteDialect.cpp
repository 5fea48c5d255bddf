#include "Dialect.h"

#include "DbError.h"
#include "DialectSupport.h"
#include "Engine.h"
#include "TsqlTokens.h"
#include "TsqlTranslator.h"

#include <optional>

namespace vorlane::db {

using namespace Qt::StringLiterals;
using tsql::quoteIdentifier;
using tsql::quoteLiteral;

namespace {

QList<QStringList> rows(Engine &engine, const QString &sql)
{
    QList<QStringList> out;
    RecordsetPtr rs = engine.QueryNative(sql);
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList row;
        for (int i = 0; i < rs->FieldCount(); ++i)
            row << rs->FieldValue(i).toString();
        out << row;
    }
    rs->Close();
    return out;
}

// The first value of a column that its value rule refuses, if any.
std::optional<QString>
refusedValue(Engine &engine, const QString &table, const QString &column, const QString &type)
{
    const QString check = TsqlTranslator::valueCheck(quoteIdentifier(column), type);
    if (check.isEmpty())
        return std::nullopt;
    const QList<QStringList> bad
        = rows(engine,
               u"SELECT CAST("_s + quoteIdentifier(column) + u" AS TEXT) FROM "_s
                   + quoteIdentifier(table) + u" WHERE NOT ("_s + check + u") LIMIT 1"_s);
    if (bad.isEmpty())
        return std::nullopt;
    return bad[0][0];
}

QString declaredType(Engine &engine, const QString &table, const QString &column)
{
    return rows(engine,
                u"SELECT type FROM pragma_table_info("_s + quoteLiteral(table)
                    + u") WHERE name = "_s + quoteLiteral(column) + u" COLLATE NOCASE"_s)
        .value(0)
        .value(0);
}

// Runs a native statement; when a value constraint refuses it, the error names table, column
// and value. SQLite names only the constraint: the statement runs once more without the
// constraints, in a savepoint rolled back at once, to read the value it would have stored
// (in `lookupTable` when it fills another table than the constraint's).
long long runNative(Engine &engine, const QString &sql, const QString &lookupTable = QString())
{
    try {
        return engine.ExecuteNative(sql);
    } catch (const DbError &e) {
        QString table;
        QString column;
        if (!TsqlTranslator::failedValueConstraint(e.message(), &table, &column))
            throw;
        const QString lookup = lookupTable.isEmpty() ? table : lookupTable;
        const QString type = declaredType(engine, lookup, column);
        std::optional<QString> value;
        try {
            engine.ExecuteNative(u"SAVEPOINT vorlane_refused_value"_s);
            engine.ExecuteNative(u"PRAGMA ignore_check_constraints = ON"_s);
            try {
                engine.ExecuteNative(sql);
                value = refusedValue(engine, lookup, column, type);
            } catch (const DbError &) {
                // another fault of the statement: the message goes without the value
            }
            engine.ExecuteNative(u"PRAGMA ignore_check_constraints = OFF"_s);
            engine.ExecuteNative(u"ROLLBACK TO vorlane_refused_value"_s);
            engine.ExecuteNative(u"RELEASE vorlane_refused_value"_s);
        } catch (const DbError &) {
        }
        throw DbError(valueRefusal(table, column, type, value));
    }
}

// Runs `work` inside a savepoint, so that it nests in the caller's transaction and, when it fails
// part-way, leaves nothing of itself behind while the caller's transaction stays open.
template<typename Work>
void inSavepoint(Engine &engine, Work work)
{
    engine.ExecuteNative(u"SAVEPOINT vorlane_alter_column"_s);
    try {
        work();
        engine.ExecuteNative(u"RELEASE vorlane_alter_column"_s);
    } catch (...) {
        try {
            engine.ExecuteNative(u"ROLLBACK TO vorlane_alter_column"_s);
            engine.ExecuteNative(u"RELEASE vorlane_alter_column"_s);
        } catch (const DbError &) {
            // the original error is the one worth reporting
        }
        throw;
    }
}

// Whether values the old type's rule let through may break the new type's rule.
bool stricterRule(const TsqlTranslator::ColumnChange &change, const QString &newType)
{
    using Rule = TsqlTranslator::ValueRule;
    const Rule now = TsqlTranslator::valueRule(newType);
    if (now.kind == Rule::None)
        return false;
    if (!change.wasChecked) // a table from before the rules, or a type without one
        return true;
    const Rule before = TsqlTranslator::valueRule(change.oldType);
    // a character takes at least one byte, so n bytes never hold more than n characters
    if (before.kind == now.kind || (before.kind == Rule::Bytes && now.kind == Rule::Characters))
        return now.length < before.length;
    return true;
}

// ALTER TABLE ... ALTER COLUMN on SQLite.
void alterColumn(Engine &engine, const SqliteStep &step)
{
    const QList<QStringList> table
        = rows(engine,
               u"SELECT name, sql FROM sqlite_schema WHERE type = 'table' AND name = "_s
                   + quoteLiteral(step.table) + u" COLLATE NOCASE"_s);
    if (table.isEmpty())
        throw DbError(u"no such table: "_s + step.table);
    const QString name = table[0][0];
    const QString createSql = table[0][1];
    const auto change
        = TsqlTranslator::retypeColumn(createSql, step.column, step.columnType, step.nullability);
    if (!change.found)
        throw DbError(u"no such column: "_s + step.column + u" in table "_s + name);

    const QString oldAffinity = TsqlTranslator::affinityOf(change.oldType);
    const QString newAffinity = TsqlTranslator::affinityOf(step.columnType);
    // INTEGER PRIMARY KEY makes a column the rowid; its spelling may not change in place.
    const bool rowidSpelling = (change.oldType.compare(u"INTEGER", Qt::CaseInsensitive) == 0)
                               != (step.columnType.compare(u"INTEGER", Qt::CaseInsensitive) == 0);
    const bool addsNotNull = step.nullability == u"NOT NULL" && !change.wasNotNull;

    if (oldAffinity == newAffinity && !rowidSpelling && !addsNotNull) {
        // Same storage class: the stored values stay valid, so only the declaration changes.
        // Constant time whatever the table holds; the caller's transaction covers it. Only a
        // stricter value rule (a shorter text) reads the rows, as the server does.
        if (stricterRule(change, step.columnType)) {
            if (const auto bad = refusedValue(engine, name, step.column, step.columnType))
                throw DbError(valueRefusal(name, step.column, step.columnType, bad));
        }
        inSavepoint(engine, [&] {
            const QList<QStringList> version = rows(engine, u"PRAGMA schema_version"_s);
            const long long next = version.value(0).value(0).toLongLong() + 1;
            engine.ExecuteNative(u"PRAGMA writable_schema = ON"_s);
            try {
                engine.ExecuteNative(u"UPDATE sqlite_schema SET sql = "_s
                                     + quoteLiteral(change.createSql)
                                     + u" WHERE type = 'table' AND name = "_s + quoteLiteral(name));
                engine.ExecuteNative(u"PRAGMA schema_version = "_s + QString::number(next));
            } catch (...) {
                engine.ExecuteNative(u"PRAGMA writable_schema = OFF"_s);
                throw;
            }
            engine.ExecuteNative(u"PRAGMA writable_schema = OFF"_s);
        });
        return;
    }

    // Another storage class, or a new NOT NULL: copy the rows into a table of the new shape.
    const QString temp = name + u"__vorlane_rebuild"_s;
    const auto rebuilt = TsqlTranslator::retypeColumn(
        createSql, step.column, step.columnType, step.nullability, temp);
    inSavepoint(engine, [&] {
        const QList<QStringList> dependents = rows(
            engine,
            u"SELECT sql FROM sqlite_schema WHERE type IN ('index', 'trigger') AND sql IS NOT NULL"
            " AND tbl_name = "_s
                + quoteLiteral(name));
        QStringList columns;
        QString changedColumn;
        for (const QStringList &c :
             rows(engine, u"SELECT name FROM pragma_table_info("_s + quoteLiteral(name) + u')')) {
            columns << c[0];
            if (c[0].compare(step.column, Qt::CaseInsensitive) == 0)
                changedColumn = c[0];
        }
        QStringList targets;
        QStringList sources;
        for (const QString &c : std::as_const(columns)) {
            targets << quoteIdentifier(c);
            if (c != changedColumn) {
                sources << quoteIdentifier(c);
            } else if (newAffinity == u"TEXT") {
                sources << u"CAST("_s + quoteIdentifier(c) + u" AS TEXT)"_s;
            } else if (newAffinity == u"BLOB") {
                sources << quoteIdentifier(c);
            } else {
                // the server converts the empty text to zero; other text must read as a number
                sources << u"CASE WHEN typeof("_s + quoteIdentifier(c) + u") = 'text' AND trim("_s
                               + quoteIdentifier(c) + u") = '' THEN 0 ELSE "_s + quoteIdentifier(c)
                               + u" END"_s;
            }
        }
        engine.ExecuteNative(u"PRAGMA defer_foreign_keys = ON"_s);
        engine.ExecuteNative(rebuilt.createSql);
        runNative(engine,
                  u"INSERT INTO "_s + quoteIdentifier(temp) + u" ("_s + targets.join(u", "_s)
                      + u") SELECT "_s + sources.join(u", "_s) + u" FROM "_s
                      + quoteIdentifier(name),
                  temp);
        if (newAffinity != u"TEXT" && newAffinity != u"BLOB") {
            const QList<QStringList> bad
                = rows(engine,
                       u"SELECT "_s + quoteIdentifier(changedColumn) + u" FROM "_s
                           + quoteIdentifier(temp) + u" WHERE typeof("_s
                           + quoteIdentifier(changedColumn) + u") IN ('text', 'blob') LIMIT 1"_s);
            if (!bad.isEmpty())
                throw DbError(u"Conversion failed when converting the value '%1' of column %2 to "
                              "data type %3."_s.arg(bad[0][0], changedColumn, step.columnType));
        }
        engine.ExecuteNative(u"DROP TABLE "_s + quoteIdentifier(name));
        // Views and triggers name the table, which exists again right after the rename.
        const QString legacy = rows(engine, u"PRAGMA legacy_alter_table"_s).value(0).value(0);
        engine.ExecuteNative(u"PRAGMA legacy_alter_table = ON"_s);
        try {
            engine.ExecuteNative(u"ALTER TABLE "_s + quoteIdentifier(temp) + u" RENAME TO "_s
                                 + quoteIdentifier(name));
        } catch (...) {
            engine.ExecuteNative(u"PRAGMA legacy_alter_table = "_s + legacy);
            throw;
        }
        engine.ExecuteNative(u"PRAGMA legacy_alter_table = "_s + legacy);
        for (const QStringList &d : dependents)
            engine.ExecuteNative(d[0]);
    });
}

} // namespace

QString SqliteDialect::Name() const
{
    return u"SQLite"_s;
}

long long SqliteDialect::Execute(Engine &engine, const QString &tsql) const
{
    const QList<SqliteStep> steps = TsqlTranslator::translate(tsql);
    if (steps.isEmpty()) // like the server's command object, refuse to run nothing
        throw DbError(u"执行的语句为空"_s);
    long long changed = 0;
    for (const SqliteStep &step : steps) {
        if (!conditionHolds(engine, step.condition, step.conditionNegated))
            continue;
        if (step.kind == SqliteStep::AlterColumn) {
            alterColumn(engine, step);
            continue;
        }
        const long long n = runNative(engine, step.sql);
        if (changesRows(step.sql))
            changed = n;
    }
    return changed;
}

RecordsetPtr SqliteDialect::Query(Engine &engine, const QString &tsql) const
{
    QList<SqliteStep> steps = TsqlTranslator::translate(tsql);
    // The record set is that of the last statement; the statements before it run first.
    if (steps.isEmpty() || steps.last().kind != SqliteStep::Native
        || !steps.last().condition.isEmpty())
        return engine.QueryNative(tsql);
    const SqliteStep last = steps.takeLast();
    for (const SqliteStep &step : std::as_const(steps)) {
        if (!conditionHolds(engine, step.condition, step.conditionNegated))
            continue;
        if (step.kind == SqliteStep::AlterColumn)
            alterColumn(engine, step);
        else
            runNative(engine, step.sql);
    }
    return engine.QueryNative(last.sql);
}

} // namespace vorlane::db
