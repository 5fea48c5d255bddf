#include "TestDatabase.h"

#include "host/DemoAccount.h"

#include <QFile>

namespace vorlane::test {

namespace {

QString demoTemplate()
{
    static QTemporaryDir dir;
    static QString path;
    if (path.isEmpty()) {
        path = dir.filePath(QStringLiteral("template.db"));
        db::Connection conn;
        conn.Open(QStringLiteral("sqlite:") + path);
        host::createDemoAccount(conn);
        conn.Close();
    }
    return path;
}

} // namespace

TestDatabase::TestDatabase(bool demo)
{
    m_path = m_dir.filePath(QStringLiteral("account.db"));
    if (demo)
        QFile::copy(demoTemplate(), m_path);
    m_conn = std::make_unique<db::Connection>();
    m_conn->Open(connectionString());
}

TestDatabase::~TestDatabase()
{
    if (m_conn && m_conn->State() == db::adStateOpen)
        m_conn->Close();
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
    auto rs = m_conn->engine().QueryNative(QStringLiteral("select name from pragma_table_info('")
                                           + table + QStringLiteral("')"));
    for (; !rs->Eof(); rs->MoveNext())
        names << rs->FieldValue(0).toString().toLower();
    return names;
}

bool TestDatabase::tableExists(const QString &table)
{
    auto rs = m_conn->engine().QueryNative(
        QStringLiteral("select 1 from sqlite_master where type='table' and name='") + table
        + QStringLiteral("' collate nocase"));
    return !rs->Eof();
}

} // namespace vorlane::test
