#pragma once

#include "Recordset.h"

#include <QString>

namespace vorlane::db {

// Runs native statements of one database engine. Dialects translate before calling it.
class Engine
{
public:
    virtual ~Engine() = default;

    virtual QString DbmsName() const = 0;
    // Runs one native statement; returns the rows it changed (0 for DDL).
    virtual long long ExecuteNative(const QString &sql) = 0;
    virtual RecordsetPtr QueryNative(const QString &sql) = 0;
    virtual void Begin() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;
    // Whether Begin() has opened a transaction that is not yet ended.
    virtual bool InTransaction() const { return false; }
    virtual void Close() = 0;
};

} // namespace vorlane::db
