#include "DemoAccount.h"

#include "DemoSeed.h"

#include "db/DbError.h"

#include <optional>

namespace vorlane::host {

using namespace Qt::StringLiterals;

namespace {

bool isPostgres(db::Connection &conn)
{
    return conn.dialect().Name().contains(u"PostgreSQL"_s, Qt::CaseInsensitive);
}

// Runs the SQL Server seed statements through a dialect's translation, for engines that are
// reached through one (PostgreSQL).
class TranslatingEngine final : public db::Engine
{
public:
    TranslatingEngine(const db::Dialect &dialect, db::Engine &engine)
        : m_dialect(dialect)
        , m_engine(engine)
    {}

    QString DbmsName() const override { return m_engine.DbmsName(); }
    long long ExecuteNative(const QString &sql) override
    {
        return m_dialect.Execute(m_engine, sql);
    }
    db::RecordsetPtr QueryNative(const QString &sql) override
    {
        return m_dialect.Query(m_engine, sql);
    }
    void Begin() override { m_engine.Begin(); }
    void Commit() override { m_engine.Commit(); }
    void Rollback() override { m_engine.Rollback(); }
    bool InTransaction() const override { return m_engine.InTransaction(); }
    void Close() override { m_engine.Close(); }

private:
    const db::Dialect &m_dialect;
    db::Engine &m_engine;
};

std::optional<SeedWriter::Flavor> knownFlavor(db::Connection &conn)
{
    const QString name = conn.dialect().Name();
    if (name.contains(u"SQLite"_s, Qt::CaseInsensitive))
        return SeedWriter::Flavor::Sqlite;
    // PostgreSQL takes the SQL Server statements through its translation.
    if (name.contains(u"SQL Server"_s, Qt::CaseInsensitive) || isPostgres(conn))
        return SeedWriter::Flavor::SqlServer;
    return std::nullopt;
}

SeedWriter::Flavor flavorOf(db::Connection &conn)
{
    if (const auto flavor = knownFlavor(conn))
        return *flavor;
    throw db::DbError(
        u"演示账套只能建立在 SQLite、SQL Server 或 PostgreSQL 数据库上，当前数据库为 %1"_s.arg(
            conn.dialect().Name()));
}

// The schema version recorded in the account database: 0 for a database without Host_Meta,
// -1 for one whose Host_Meta has no version.
int recordedVersion(db::Engine &engine, SeedWriter::Flavor flavor, bool postgres)
{
    QString metaTable = flavor == SeedWriter::Flavor::Sqlite
                            ? u"select count(*) from sqlite_master where type='table' and "
                              "name='Host_Meta' collate nocase"_s
                            : u"select count(*) from sysobjects where name='Host_Meta' and "
                              "OBJECTPROPERTY(id, N'IsUserTable') = 1"_s;
    if (postgres)
        metaTable = u"select count(*) from pg_catalog.pg_tables where schemaname = current_schema()"
                    " and tablename = 'host_meta'"_s;
    auto tables = engine.QueryNative(metaTable);
    if (tables->Eof() || tables->FieldValue(0).toInt() == 0)
        return 0;
    tables->Close();
    auto rs = engine.QueryNative(u"select cValue from Host_Meta where cKey='SchemaVersion'"_s);
    return rs->Eof() ? -1 : rs->FieldValue(0).toInt();
}

} // namespace

bool isAccountDatabase(db::Connection &conn)
{
    try {
        conn.OpenRecordset(u"select count(*) from hr_sys_setdict"_s);
        conn.OpenRecordset(u"select count(*) from Host_Operator"_s);
        return true;
    } catch (const db::DbError &) {
        return false;
    }
}

bool isEmptyDatabase(db::Connection &conn)
{
    if (conn.State() != db::adStateOpen)
        throw db::DbError(u"数据库连接未打开"_s);
    const QString name = conn.dialect().Name();
    QString sql = u"select count(*) from sysobjects where xtype = 'U'"_s;
    if (name.contains(u"SQLite"_s, Qt::CaseInsensitive))
        sql = u"select count(*) from sqlite_master where type = 'table'"_s;
    else if (isPostgres(conn))
        sql = u"select count(*) from pg_catalog.pg_tables where schemaname = current_schema()"_s;
    auto rs = conn.engine().QueryNative(sql);
    return rs->Eof() || rs->FieldValue(0).toInt() == 0;
}

void createDemoAccount(db::Connection &conn)
{
    if (conn.State() != db::adStateOpen)
        throw db::DbError(u"建立演示账套前需要先打开数据库连接"_s);
    const SeedWriter::Flavor flavor = flavorOf(conn);
    const bool postgres = isPostgres(conn);
    TranslatingEngine translating(conn.dialect(), conn.engine());
    db::Engine &engine = postgres ? translating : conn.engine();

    const int version = recordedVersion(conn.engine(), flavor, postgres);
    if (version == seed::schemaVersion)
        return;
    if (version < 0)
        throw db::DbError(u"账套库的 Host_Meta 表没有版本记录，不能确定它是否为演示账套"_s);
    if (version > 0 && version < seed::schemaVersion) {
        upgradeAccount(conn);
        return;
    }
    if (version != 0) {
        throw db::DbError(u"账套库的演示数据版本为 %1，本程序只认识版本 %2"_s.arg(version).arg(
            seed::schemaVersion));
    }

    db::TransactionGuard transaction(conn);
    SeedWriter w(engine, flavor);
    if (flavor == SeedWriter::Flavor::SqlServer && !postgres) {
        w.exec(u"if not exists (select * from systypes where name = 'ZQUID') "
               "exec sp_addtype ZQUID, 'uniqueidentifier'"_s);
    }
    seed::createSchema(w);
    seed::seedHost(w);
    seed::seedDictionary(w);
    seed::seedCodeTables(w);
    seed::seedInformationSets(w);
    {
        SeedWriter::Batch meta(w, u"Host_Meta"_s, {u"cKey"_s, u"cValue"_s});
        meta.add({u"SchemaVersion"_s, seed::schemaVersion});
    }
    transaction.Commit();
}

void upgradeAccount(db::Connection &conn)
{
    const auto flavor = knownFlavor(conn);
    if (!flavor)
        return;
    const bool postgres = isPostgres(conn);
    const auto version = [&] { return recordedVersion(conn.engine(), *flavor, postgres); };
    if (version() <= 0 || version() >= seed::schemaVersion)
        return;
    try {
        db::TransactionGuard transaction(conn);
        // Read again inside the transaction: another program may have upgraded meanwhile.
        const int from = version();
        if (from <= 0 || from >= seed::schemaVersion)
            return;
        if (from < 2) {
            // Locks taken before heartbeats existed count as refreshed when they were taken.
            conn.Execute(u"ALTER TABLE Host_TaskLock ADD dHeartbeat datetime"_s);
            conn.Execute(u"update Host_TaskLock set dHeartbeat = dStartTime"_s);
        }
        conn.Execute(u"update Host_Meta set cValue = '%1' where cKey = 'SchemaVersion'"_s.arg(
            seed::schemaVersion));
        transaction.Commit();
    } catch (const db::DbError &) {
        // Another program upgrading at the same moment is as good as this one.
        if (version() != seed::schemaVersion)
            throw;
    }
}

} // namespace vorlane::host
