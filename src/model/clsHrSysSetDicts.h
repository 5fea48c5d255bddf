#pragma once

#include "KeyedCollection.h"
#include "clsHrSysSetDict.h"

#include <QString>

namespace vorlane {

namespace db {
class Connection;
}

// Keyed collection of clsHrSysSetDict records: the information sets or archive classes of
// hr_sys_setdict.
class clsHrSysSetDicts : public KeyedCollection<clsHrSysSetDict>
{
public:
    // Appends one record per row of a SELECT, keyed by the trimmed cTableCode. Does not empty the
    // collection first. Stops at the first error (statement, NULL or duplicate key, missing column,
    // unconvertible value) and returns false, keeping the records added so far, including the one
    // that failed part-way. Never throws. Runs on the login context's shared connection.
    bool Load(const QString &strSql);
    bool Load(db::Connection &conn, const QString &strSql);
};

} // namespace vorlane
