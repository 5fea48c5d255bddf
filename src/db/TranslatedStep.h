#pragma once

#include <QString>

namespace vorlane::db {

// One step of a T-SQL batch translated for another engine.
struct TranslatedStep
{
    enum Kind {
        Native,      // run `sql` as it stands
        AlterColumn, // ALTER TABLE table ALTER COLUMN column newType [NULL|NOT NULL], for an
                     // engine that changes a column by rebuilding its table (SQLite)
    };
    Kind kind = Native;
    QString sql;         // Native: the engine's statement
    QString table;       // AlterColumn
    QString column;      // AlterColumn
    QString columnType;  // AlterColumn: the new declared type as written ("varchar(30)")
    QString nullability; // AlterColumn: "NULL", "NOT NULL" or empty
    // From `IF [NOT] EXISTS (query) statement`: a query of the engine; the step runs only when it
    // returns a row (with conditionNegated: only when it returns none). Empty: always runs.
    QString condition;
    bool conditionNegated = false;
};

} // namespace vorlane::db
