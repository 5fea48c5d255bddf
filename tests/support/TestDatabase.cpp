#include "TestDatabase.h"

#include "host/DemoAccount.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

#include <atomic>
#include <cstdio>

namespace vorlane::test {

using namespace Qt::StringLiterals;

namespace {

QString pgServer()
{
    return qEnvironmentVariable("VORLANE_TEST_PG").trimmed();
}

// The server's connection string with another database.
QString pgDatabase(const QString &name)
{
    static const QRegularExpression rx(u"(^|;)\\s*Database\\s*=[^;]*"_s,
                                       QRegularExpression::CaseInsensitiveOption);
    QString cs = pgServer();
    if (cs.contains(rx))
        cs.replace(rx, u"\\1Database="_s + name);
    else
        cs += u";Database="_s + name;
    return cs;
}

// CREATE and DROP DATABASE run outside transactions, on the server's maintenance database.
void pgMaintenance(const QString &sql)
{
    db::Connection c;
    c.Open(pgServer());
    c.engine().ExecuteNative(sql);
    c.Close();
}

// Tests inspect the schema through SQLite's catalogue (sqlite_master, pragma_table_info). On
// PostgreSQL views and a function of those names answer the same questions, names compared
// without case as the server compares them; the type of a column is the T-SQL type that the
// translation keeps in the column's comment.
void addCatalogueViews(db::Connection &conn)
{
    db::Engine &e = conn.engine();
    e.ExecuteNative(u"CREATE EXTENSION IF NOT EXISTS citext"_s);
    for (const QString &view : {u"sqlite_master"_s, u"sqlite_schema"_s}) {
        e.ExecuteNative(u"CREATE VIEW "_s + view
                        + u" AS SELECT CASE c.relkind WHEN 'r' THEN 'table' WHEN 'i' THEN 'index' "
                          "ELSE 'view' END AS type, c.relname::citext AS name, coalesce(t.relname, "
                          "c.relname)::citext AS tbl_name FROM pg_class c JOIN pg_namespace n ON "
                          "n.oid = c.relnamespace LEFT JOIN pg_index x ON x.indexrelid = c.oid "
                          "LEFT JOIN pg_class t ON t.oid = x.indrelid WHERE n.nspname = "
                          "current_schema() AND c.relkind IN ('r', 'i', 'v') AND c.relname NOT IN "
                          "('sqlite_master', 'sqlite_schema')"_s);
    }
    e.ExecuteNative(
        u"CREATE FUNCTION pragma_table_info(text) RETURNS TABLE (cid integer, name citext, type "
        "text, \"notnull\" integer, dflt_value text, pk integer) LANGUAGE sql STABLE AS $$ "
        "SELECT (a.attnum - 1)::int, a.attname::citext, coalesce(col_description(a.attrelid, "
        "a.attnum), format_type(a.atttypid, a.atttypmod)), CASE WHEN a.attnotnull THEN 1 ELSE 0 "
        "END, pg_get_expr(d.adbin, d.adrelid), coalesce(array_position(k.conkey, a.attnum), 0) "
        "FROM pg_attribute a LEFT JOIN pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = "
        "a.attnum LEFT JOIN pg_constraint k ON k.conrelid = a.attrelid AND k.contype = 'p' "
        "WHERE a.attrelid = to_regclass(lower($1)) AND a.attnum > 0 AND NOT a.attisdropped "
        "ORDER BY a.attnum $$"_s);
    e.ExecuteNative(u"CREATE FUNCTION typeof(anyelement) RETURNS text LANGUAGE sql IMMUTABLE AS "
                    "'SELECT pg_typeof($1)::text'"_s);
    // Tests make statements fail through triggers that call this.
    e.ExecuteNative(u"CREATE FUNCTION vorlane_refuse() RETURNS trigger LANGUAGE plpgsql AS $$ "
                    "BEGIN RAISE EXCEPTION '%', TG_ARGV[0]; END $$"_s);
}

QString pgName(const QString &kind)
{
    static std::atomic<int> counter{0};
    return u"vorlane_%1_%2_%3"_s.arg(kind).arg(QCoreApplication::applicationPid()).arg(++counter);
}

// Created once per process with the demo account; dropped when the process ends.
struct PgTemplate
{
    QString name;
    ~PgTemplate()
    {
        if (name.isEmpty())
            return;
        try {
            pgMaintenance(u"DROP DATABASE IF EXISTS "_s + name + u" WITH (FORCE)"_s);
        } catch (...) {
        }
    }
};

QString pgTemplate()
{
    static PgTemplate tpl;
    if (tpl.name.isEmpty()) {
        const QString name = pgName(u"tpl"_s);
        pgMaintenance(u"CREATE DATABASE "_s + name + u" TEMPLATE template0 ENCODING 'UTF8'"_s);
        tpl.name = name;
        db::Connection conn;
        conn.Open(pgDatabase(name));
        host::createDemoAccount(conn);
        addCatalogueViews(conn);
        conn.Close();
    }
    return tpl.name;
}

QString sqliteTemplate()
{
    static QTemporaryDir dir;
    static QString path;
    if (path.isEmpty()) {
        path = dir.filePath(u"template.db"_s);
        db::Connection conn;
        conn.Open(u"sqlite:"_s + path);
        host::createDemoAccount(conn);
        conn.Close();
    }
    return path;
}

} // namespace

QString TestDatabase::engineName()
{
    return onPostgres() ? u"PostgreSQL"_s : u"SQLite"_s;
}

bool TestDatabase::onPostgres()
{
    return !pgServer().isEmpty();
}

TestDatabase::TestDatabase(bool demo)
{
    static const bool announced = [] {
        std::fprintf(stderr, "TestDatabase: engine %s\n", qPrintable(engineName()));
        return true;
    }();
    Q_UNUSED(announced)
    if (onPostgres()) {
        m_path = pgName(u"case"_s);
        pgMaintenance(u"CREATE DATABASE "_s + m_path + u" TEMPLATE "_s
                      + (demo ? pgTemplate() : u"template0 ENCODING 'UTF8'"_s));
        m_connectionString = pgDatabase(m_path);
    } else {
        m_path = m_dir.filePath(u"account.db"_s);
        if (demo)
            QFile::copy(sqliteTemplate(), m_path);
        m_connectionString = u"sqlite:"_s + m_path;
    }
    m_conn = std::make_unique<db::Connection>();
    m_conn->Open(connectionString());
    if (onPostgres() && !demo)
        addCatalogueViews(*m_conn);
}

TestDatabase::~TestDatabase()
{
    if (m_conn && m_conn->State() == db::adStateOpen)
        m_conn->Close();
    if (onPostgres()) {
        try {
            pgMaintenance(u"DROP DATABASE IF EXISTS "_s + m_path + u" WITH (FORCE)"_s);
        } catch (...) {
        }
    }
}

std::unique_ptr<db::Connection> TestDatabase::openAnother() const
{
    auto c = std::make_unique<db::Connection>();
    c->Open(connectionString());
    return c;
}

QVariant TestDatabase::scalar(const QString &sql)
{
    auto rs = m_conn->OpenRecordset(sql);
    if (rs->Eof())
        return {};
    return rs->FieldValue(0);
}

QStringList TestDatabase::columns(const QString &table)
{
    QStringList names;
    // On PostgreSQL through the catalogue function addCatalogueViews() makes.
    auto rs
        = m_conn->engine().QueryNative(u"select name from pragma_table_info('%1')"_s.arg(table));
    for (; !rs->Eof(); rs->MoveNext())
        names << rs->FieldValue(0).toString().toLower();
    return names;
}

bool TestDatabase::tableExists(const QString &table)
{
    const QString sql = onPostgres()
                            ? u"select 1 from pg_catalog.pg_tables where schemaname = "
                              "current_schema() and tablename = lower('%1')"_s
                            : u"select 1 from sqlite_master where type='table' and name='%1' "
                              "collate nocase"_s;
    auto rs = m_conn->engine().QueryNative(sql.arg(table));
    return !rs->Eof();
}

void TestDatabase::refuse(const QString &table,
                          const QString &event,
                          const QString &condition,
                          const QString &message)
{
    static std::atomic<int> counter{0};
    const QString name = u"vorlane_refuse_%1"_s.arg(++counter);
    if (onPostgres()) {
        m_conn->engine().ExecuteNative(
            u"CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW %4 EXECUTE FUNCTION "
            "vorlane_refuse('%5')"_s.arg(name,
                                         event,
                                         table.toLower(),
                                         condition.isEmpty() ? QString()
                                                             : u"WHEN ("_s + condition + u')',
                                         message));
    } else {
        m_conn->engine().ExecuteNative(
            u"CREATE TRIGGER %1 BEFORE %2 ON %3 %4 BEGIN SELECT RAISE(ABORT, '%5'); END"_s.arg(
                name,
                event,
                table,
                condition.isEmpty() ? QString() : u"WHEN "_s + condition,
                message));
    }
}

} // namespace vorlane::test
