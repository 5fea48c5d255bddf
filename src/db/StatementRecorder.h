#pragma once

#include <QDateTime>
#include <QString>

#include <memory>

namespace vorlane::db {

// One statement as the component built it, before any translation for the engine.
struct StatementEvent
{
    enum class Kind { Execute, Query, Begin, Commit, Rollback };

    Kind kind = Kind::Execute;
    QDateTime time;
    QString engine;      // the database product, e.g. "SQLite", "Microsoft SQL Server"
    QString statement;   // exact text; empty for Begin/Commit/Rollback
    long long rows = -1; // rows touched by an Execute; -1 when unknown or not an Execute
    QString error;       // the database's message when the statement failed
    bool inTransaction = false;

    bool failed() const { return !error.isEmpty(); }
};

// Sees every statement that runs on a connection. A recorder must not throw.
class StatementRecorder
{
public:
    virtual ~StatementRecorder() = default;
    virtual void record(const StatementEvent &event) noexcept = 0;
};

// Appends one line per statement to a file, flushing each line, for administrators who need to
// see what the component did to their database. Never fails the statement it records: a log that
// cannot be written is given up silently.
class StatementLogFile : public StatementRecorder
{
public:
    explicit StatementLogFile(const QString &path);
    ~StatementLogFile() override;
    bool isOpen() const;
    void record(const StatementEvent &event) noexcept override;

    // One line: time, engine, transaction marker, outcome, statement (newlines folded).
    static QString formatLine(const StatementEvent &event);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The log named by VORLANE_STATEMENT_LOG, shared by every connection of the process; nullptr when
// the variable is unset or the file cannot be opened.
std::shared_ptr<StatementRecorder> environmentStatementLog();

} // namespace vorlane::db
