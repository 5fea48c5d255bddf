#pragma once

#include "Engine.h"

struct sqlite3;

namespace vorlane::db {

// The embedded engine: one SQLite database file through the C API.
class SqliteEngine final : public Engine
{
public:
    // Opens (creating when missing) the database file. The directory must exist.
    explicit SqliteEngine(const QString &path);
    ~SqliteEngine() override;

    QString DbmsName() const override;
    long long ExecuteNative(const QString &sql) override;
    RecordsetPtr QueryNative(const QString &sql) override;
    void Begin() override;
    void Commit() override;
    void Rollback() override;
    void Close() override;

    // How long a statement waits for another connection's lock before it fails.
    void setBusyTimeout(int milliseconds);
    sqlite3 *handle() const { return m_db; }
    QString path() const { return m_path; }

private:
    [[noreturn]] void fail() const;

    QString m_path;
    sqlite3 *m_db = nullptr;
};

} // namespace vorlane::db
