#pragma once

#include "KeyedCollection.h"
#include "clsHrCT.h"

#include <QString>

namespace vorlane {

namespace db {
class Connection;
}

// Keyed collection of clsHrCT records: the codes of one code table.
class clsHrCTs : public KeyedCollection<clsHrCT>
{
public:
    // Appends one record per row of a SELECT, keyed by cCodeId as read, not trimmed. Does not empty
    // the collection first. Stops at the first error (statement, NULL or duplicate key, missing
    // column, unconvertible value) and returns false, keeping the records added so far, including
    // the one that failed part-way. Never throws. Runs on the login context's shared connection.
    bool Load(const QString &strSql);
    bool Load(db::Connection &conn, const QString &strSql);
};

} // namespace vorlane
