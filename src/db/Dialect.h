#pragma once

#include "Recordset.h"

#include <QString>

#include <memory>

namespace vorlane::db {

class Engine;

// How the component's T-SQL statements run on one kind of database.
class Dialect
{
public:
    virtual ~Dialect() = default;

    virtual QString Name() const = 0;
    // Runs a T-SQL statement or batch; returns the rows changed by the last statement that changed rows.
    virtual long long Execute(Engine &engine, const QString &tsql) const = 0;
    // Runs a T-SQL query and returns its record set.
    virtual RecordsetPtr Query(Engine &engine, const QString &tsql) const = 0;
};

// SQL Server: statements run verbatim.
class SqlServerDialect final : public Dialect
{
public:
    QString Name() const override;
    long long Execute(Engine &engine, const QString &tsql) const override;
    RecordsetPtr Query(Engine &engine, const QString &tsql) const override;
};

// SQLite: statements are rewritten by the T-SQL translator first.
class SqliteDialect final : public Dialect
{
public:
    QString Name() const override;
    long long Execute(Engine &engine, const QString &tsql) const override;
    RecordsetPtr Query(Engine &engine, const QString &tsql) const override;
};

// PostgreSQL: statements are rewritten by the PostgreSQL translation first; inside a transaction
// each runs in a savepoint, so that a failed statement leaves the transaction usable, as on SQL
// Server. Defined in PostgresDialect.cpp.
class PostgresDialect final : public Dialect
{
public:
    QString Name() const override;
    long long Execute(Engine &engine, const QString &tsql) const override;
    RecordsetPtr Query(Engine &engine, const QString &tsql) const override;

private:
    mutable bool m_citextReady = false;
};

// Picks the dialect from an engine's DBMS name ("SQLite", "Microsoft SQL Server", ...).
std::unique_ptr<Dialect> dialectForDbms(const QString &dbmsName);

} // namespace vorlane::db
