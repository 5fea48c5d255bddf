#pragma once

#include "Dialect.h"
#include "Engine.h"
#include "Recordset.h"
#include "StatementRecorder.h"

#include <QString>

#include <memory>
#include <vector>

namespace vorlane::db {

enum ObjectState : int { adStateClosed = 0, adStateOpen = 1 };

// The ADO-style connection every statement of the component runs on.
// Connection strings: "sqlite:PATH", a plain PATH ending in ".db", or "odbc:<ODBC connection string>".
class Connection
{
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Throws DbError naming what failed; nothing is created when the directory is missing.
    void Open(const QString &connectionString,
              const QString &user = QString(),
              const QString &password = QString());
    void Close();
    int State() const;
    QString ConnectionString() const { return m_connectionString; }

    // Runs a T-SQL statement or batch through the dialect; returns the rows affected.
    long long Execute(const QString &sql);
    // Opens a forward-only, read-only record set on a T-SQL query.
    RecordsetPtr OpenRecordset(const QString &sql);

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const { return m_inTransaction; }

    const Dialect &dialect() const;
    Engine &engine();

    // Recorders see every statement exactly as the component built it, before translation.
    // The statement log named by VORLANE_STATEMENT_LOG is added when the connection opens.
    void addRecorder(std::shared_ptr<StatementRecorder> recorder);
    void removeRecorder(const StatementRecorder *recorder);

private:
    void requireOpen() const;
    void notify(StatementEvent::Kind kind,
                const QString &statement,
                long long rows,
                const QString &error,
                bool inTransaction) const;
    template<class Action>
    auto recorded(StatementEvent::Kind kind, const QString &statement, Action &&action);

    QString m_connectionString;
    std::unique_ptr<Engine> m_engine;
    std::unique_ptr<Dialect> m_dialect;
    bool m_inTransaction = false;
    std::vector<std::shared_ptr<StatementRecorder>> m_recorders;
};

// Rolls back when it leaves scope without Commit(), so an exception never leaves a transaction open.
class TransactionGuard
{
public:
    explicit TransactionGuard(Connection &conn);
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard &) = delete;
    TransactionGuard &operator=(const TransactionGuard &) = delete;

    void Commit();
    void Rollback();
    bool IsActive() const { return m_active; }

private:
    Connection &m_conn;
    bool m_active = false;
};

} // namespace vorlane::db
