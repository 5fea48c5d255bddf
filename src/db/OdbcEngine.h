#pragma once

#include "Engine.h"

namespace vorlane::db {

// Any ODBC data source through unixODBC; SQL Server through FreeTDS or Microsoft's driver.
class OdbcEngine final : public Engine
{
public:
    explicit OdbcEngine(const QString &connectionString);
    ~OdbcEngine() override;

    QString DbmsName() const override { return m_dbmsName; }
    long long ExecuteNative(const QString &sql) override;
    RecordsetPtr QueryNative(const QString &sql) override;
    void Begin() override;
    void Commit() override;
    void Rollback() override;
    bool InTransaction() const override { return m_inTransaction; }
    void Close() override;

private:
    void endTransaction(bool commit);

    void *m_env = nullptr;
    void *m_dbc = nullptr;
    QString m_dbmsName;
    bool m_inTransaction = false;
};

} // namespace vorlane::db
