#include "Connection.h"

#include "OdbcEngine.h"
#include "SqliteEngine.h"

namespace vorlane::db {

namespace {

std::unique_ptr<Engine> openEngine(const QString &connectionString)
{
    const QString cs = connectionString.trimmed();
    if (cs.startsWith(QStringLiteral("sqlite:"), Qt::CaseInsensitive))
        return std::make_unique<SqliteEngine>(cs.mid(7));
    if (cs.startsWith(QStringLiteral("odbc:"), Qt::CaseInsensitive)) {
        if (cs.mid(5).trimmed().isEmpty())
            throw DbError(QStringLiteral("ODBC 连接字符串为空"));
        return std::make_unique<OdbcEngine>(cs.mid(5));
    }
    if (cs.endsWith(QStringLiteral(".db"), Qt::CaseInsensitive)
        || cs.endsWith(QStringLiteral(".sqlite"), Qt::CaseInsensitive))
        return std::make_unique<SqliteEngine>(cs);
    throw DbError(QStringLiteral("连接字符串没有指明数据库引擎：“%1”。请使用 sqlite:文件路径 或 "
                                 "odbc:ODBC连接字符串")
                      .arg(connectionString));
}

} // namespace

Connection::Connection() = default;

Connection::~Connection()
{
    try {
        Close();
    } catch (...) {
    }
}

void Connection::Open(const QString &connectionString, const QString &user, const QString &password)
{
    if (m_engine)
        throw DbError(QStringLiteral("连接已经打开"));
    QString cs = connectionString;
    // ODBC takes credentials in its connection string; ADO callers pass them empty.
    if (!user.isEmpty() && cs.startsWith(QStringLiteral("odbc:"), Qt::CaseInsensitive))
        cs += QStringLiteral(";UID=%1;PWD=%2").arg(user, password);
    auto engine = openEngine(cs);
    m_dialect = dialectForDbms(engine->DbmsName());
    m_engine = std::move(engine);
    m_connectionString = connectionString;
    m_inTransaction = false;
}

void Connection::Close()
{
    if (!m_engine)
        return;
    if (m_inTransaction) {
        try {
            m_engine->Rollback();
        } catch (...) {
        }
        m_inTransaction = false;
    }
    m_engine->Close();
    m_engine.reset();
    m_dialect.reset();
}

int Connection::State() const
{
    return m_engine ? adStateOpen : adStateClosed;
}

void Connection::requireOpen() const
{
    if (!m_engine)
        throw DbError(QStringLiteral("数据库连接未打开"));
}

long long Connection::Execute(const QString &sql)
{
    requireOpen();
    return m_dialect->Execute(*m_engine, sql);
}

RecordsetPtr Connection::OpenRecordset(const QString &sql)
{
    requireOpen();
    return m_dialect->Query(*m_engine, sql);
}

void Connection::BeginTrans()
{
    requireOpen();
    if (m_inTransaction)
        throw DbError(QStringLiteral("事务已经开始，不能嵌套"));
    m_engine->Begin();
    m_inTransaction = true;
}

void Connection::CommitTrans()
{
    requireOpen();
    if (!m_inTransaction)
        throw DbError(QStringLiteral("没有进行中的事务"));
    m_engine->Commit();
    m_inTransaction = false;
}

void Connection::RollbackTrans()
{
    requireOpen();
    if (!m_inTransaction)
        throw DbError(QStringLiteral("没有进行中的事务"));
    m_inTransaction = false;
    m_engine->Rollback();
}

const Dialect &Connection::dialect() const
{
    requireOpen();
    return *m_dialect;
}

Engine &Connection::engine()
{
    requireOpen();
    return *m_engine;
}

TransactionGuard::TransactionGuard(Connection &conn)
    : m_conn(conn)
{
    m_conn.BeginTrans();
    m_active = true;
}

TransactionGuard::~TransactionGuard()
{
    if (m_active) {
        try {
            m_conn.RollbackTrans();
        } catch (...) {
        }
    }
}

void TransactionGuard::Commit()
{
    if (!m_active)
        throw DbError(QStringLiteral("事务已经结束"));
    m_conn.CommitTrans(); // when it fails the guard still rolls back
    m_active = false;
}

void TransactionGuard::Rollback()
{
    if (!m_active)
        return;
    m_active = false;
    m_conn.RollbackTrans();
}

} // namespace vorlane::db
