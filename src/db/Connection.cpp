#include "Connection.h"

#include "OdbcEngine.h"
#include "SqliteEngine.h"

#include <algorithm>
#include <type_traits>

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
    if (auto log = environmentStatementLog())
        addRecorder(std::move(log));
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

void Connection::addRecorder(std::shared_ptr<StatementRecorder> recorder)
{
    if (recorder
        && std::find(m_recorders.begin(), m_recorders.end(), recorder) == m_recorders.end())
        m_recorders.push_back(std::move(recorder));
}

void Connection::removeRecorder(const StatementRecorder *recorder)
{
    std::erase_if(m_recorders, [recorder](const auto &r) { return r.get() == recorder; });
}

void Connection::notify(StatementEvent::Kind kind,
                        const QString &statement,
                        long long rows,
                        const QString &error,
                        bool inTransaction) const
{
    if (m_recorders.empty())
        return;
    StatementEvent event;
    event.kind = kind;
    event.time = QDateTime::currentDateTime();
    event.engine = m_engine ? m_engine->DbmsName() : QString();
    event.statement = statement;
    event.rows = rows;
    event.error = error;
    event.inTransaction = inTransaction;
    for (const auto &recorder : m_recorders)
        recorder->record(event);
}

// Runs an action and tells the recorders what it met; errors pass on unchanged.
template<class Action>
auto Connection::recorded(StatementEvent::Kind kind, const QString &statement, Action &&action)
{
    const bool inTransaction = m_inTransaction || kind == StatementEvent::Kind::Commit
                               || kind == StatementEvent::Kind::Rollback;
    try {
        auto result = action();
        long long rows = -1;
        if constexpr (std::is_same_v<decltype(result), long long>)
            rows = result;
        notify(kind, statement, rows, QString(), inTransaction);
        return result;
    } catch (const std::exception &e) {
        notify(kind, statement, -1, QString::fromUtf8(e.what()), inTransaction);
        throw;
    }
}

long long Connection::Execute(const QString &sql)
{
    requireOpen();
    return recorded(StatementEvent::Kind::Execute, sql, [&] {
        return m_dialect->Execute(*m_engine, sql);
    });
}

RecordsetPtr Connection::OpenRecordset(const QString &sql)
{
    requireOpen();
    return recorded(StatementEvent::Kind::Query, sql, [&] { return m_dialect->Query(*m_engine, sql); });
}

void Connection::BeginTrans()
{
    requireOpen();
    if (m_inTransaction)
        throw DbError(QStringLiteral("事务已经开始，不能嵌套"));
    recorded(StatementEvent::Kind::Begin, QString(), [&] {
        m_engine->Begin();
        return true;
    });
    m_inTransaction = true;
}

void Connection::CommitTrans()
{
    requireOpen();
    if (!m_inTransaction)
        throw DbError(QStringLiteral("没有进行中的事务"));
    recorded(StatementEvent::Kind::Commit, QString(), [&] {
        m_engine->Commit();
        return true;
    });
    m_inTransaction = false;
}

void Connection::RollbackTrans()
{
    requireOpen();
    if (!m_inTransaction)
        throw DbError(QStringLiteral("没有进行中的事务"));
    m_inTransaction = false;
    recorded(StatementEvent::Kind::Rollback, QString(), [&] {
        m_engine->Rollback();
        return true;
    });
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
