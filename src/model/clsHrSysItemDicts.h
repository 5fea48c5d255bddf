#pragma once

#include "KeyedCollection.h"
#include "clsHrSysItemDict.h"

#include <QString>

namespace vorlane {

namespace db {
class Connection;
}

// Keyed collection of clsHrSysItemDict records: the information items of hr_sys_itemdict.
class clsHrSysItemDicts : public KeyedCollection<clsHrSysItemDict>
{
public:
    // Appends one record per row of a SELECT, keyed by the trimmed cTableCode, "^", the trimmed
    // citemCode. Does not empty the collection first. Stops at the first error (statement, NULL or
    // duplicate key, missing column, unconvertible value) and returns false, keeping the records
    // added so far, including the one that failed part-way. Never throws. Runs on the login
    // context's shared connection.
    bool Load(const QString &strSql);
    bool Load(db::Connection &conn, const QString &strSql);
};

} // namespace vorlane
