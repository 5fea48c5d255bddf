#pragma once

#include "TranslatedStep.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vorlane::db {

// One step of a translated T-SQL batch for SQLite: a native statement or a column change.
using SqliteStep = TranslatedStep;

// Rewrites the component's T-SQL forms for SQLite. Works on tokens: quoted strings, bracketed
// names and comments are never rewritten; unknown forms pass unchanged so SQLite reports them.
class TsqlTranslator
{
public:
    static QList<SqliteStep> translate(const QString &tsql);

    // SQLite's type affinity of a declared column type: "INTEGER", "TEXT", "BLOB", "REAL" or
    // "NUMERIC" (the rules of the SQLite documentation, section 3.1).
    static QString affinityOf(const QString &declaredType);
    // True for the T-SQL text types whose comparisons are case-insensitive on the server.
    static bool isTextType(const QString &declaredType);
    // The SQLite expression that stands for newid(): a random GUID as upper-case text.
    static QString newGuidExpression();

    // What the server refuses to store in a column of a declared type: text that is no number
    // in an integer or bit column, text longer than a text column's length (trailing blanks
    // aside). SQLite stores both; a named CHECK constraint keeps the rule.
    struct ValueRule
    {
        enum Kind { None, Number, Bytes, Characters };
        Kind kind = None;
        int length = 0; // Bytes (of code page 936), Characters
    };
    static ValueRule valueRule(const QString &declaredType);
    // SQLite expression, built-in functions only, that holds when `expr` may be stored in a
    // column of the declared type; empty when any value may.
    static QString valueCheck(const QString &expr, const QString &declaredType);
    // The column constraint that keeps the rule: CONSTRAINT "vorlane:T:C" CHECK (...), or empty.
    static QString
    valueConstraint(const QString &table, const QString &column, const QString &declaredType);
    // Table and column of the value constraint that a database message says failed.
    static bool failedValueConstraint(const QString &message, QString *table, QString *column);

    // One column of a stored CREATE TABLE statement given a new declared type.
    struct ColumnChange
    {
        bool found = false;
        QString createSql; // the whole statement with the column's definition changed
        QString oldType;   // the declared type before, normalised ("varchar(10)")
        bool wasNotNull = false;
        bool wasChecked = false; // the old definition carried its value constraint
    };
    // Changes the declared type of `column` in `createSql` to `newType`; nullability "NULL" drops
    // a NOT NULL, "NOT NULL" adds one, empty keeps it. Collation, default and other constraints
    // stay; a text type without collation gets NOCASE; the value constraint follows the new type.
    // A non-empty `newTableName` replaces the table's name (the constraint keeps the old one).
    static ColumnChange retypeColumn(const QString &createSql,
                                     const QString &column,
                                     const QString &newType,
                                     const QString &nullability,
                                     const QString &newTableName = QString());
};

} // namespace vorlane::db
