#pragma once

#include "DbError.h"
#include "Engine.h"

#include <QStringList>

namespace vorlane::db {

// Keeps the statements handed to it instead of running them: a script is written through it, and
// it stands for a driver where what matters is the text that would reach it. It answers no query.
class CollectingEngine final : public Engine
{
public:
    explicit CollectingEngine(const QString &dbmsName)
        : m_dbmsName(dbmsName)
    {}

    QStringList statements;

    QString DbmsName() const override { return m_dbmsName; }
    long long ExecuteNative(const QString &sql) override
    {
        statements << sql;
        return 0;
    }
    RecordsetPtr QueryNative(const QString &sql) override
    {
        throw DbError(QStringLiteral("只收集语句，不能查询：") + sql);
    }
    void Begin() override {}
    void Commit() override {}
    void Rollback() override {}
    void Close() override {}

private:
    QString m_dbmsName;
};

} // namespace vorlane::db
