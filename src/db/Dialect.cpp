#include "Dialect.h"

#include "Engine.h"

namespace vorlane::db {

QString SqlServerDialect::Name() const
{
    return QStringLiteral("SQL Server");
}

long long SqlServerDialect::Execute(Engine &engine, const QString &tsql) const
{
    return engine.ExecuteNative(tsql);
}

RecordsetPtr SqlServerDialect::Query(Engine &engine, const QString &tsql) const
{
    return engine.QueryNative(tsql);
}

std::unique_ptr<Dialect> dialectForDbms(const QString &dbmsName)
{
    if (dbmsName.contains(QStringLiteral("sqlite"), Qt::CaseInsensitive))
        return std::make_unique<SqliteDialect>();
    if (dbmsName.contains(QStringLiteral("postgres"), Qt::CaseInsensitive))
        return std::make_unique<PostgresDialect>();
    // SQL Server and the T-SQL family (Sybase through FreeTDS) take the statements verbatim.
    return std::make_unique<SqlServerDialect>();
}

} // namespace vorlane::db
