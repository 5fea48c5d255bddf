#pragma once

#include "db/Connection.h"

#include <QList>
#include <QStringList>

#include <memory>

namespace vorlane::test {

// Records the statements run on one connection while it is in scope.
class RecordedStatements : public db::StatementRecorder
{
public:
    void record(const db::StatementEvent &event) noexcept override { events.append(event); }

    // Executed statements and queries, in order, exactly as built.
    QStringList statements() const
    {
        QStringList out;
        for (const auto &e : events)
            if (e.kind == db::StatementEvent::Kind::Execute
                || e.kind == db::StatementEvent::Kind::Query)
                out << e.statement;
        return out;
    }
    // Only the statements that changed something (no queries).
    QStringList executed() const
    {
        QStringList out;
        for (const auto &e : events)
            if (e.kind == db::StatementEvent::Kind::Execute)
                out << e.statement;
        return out;
    }
    void clear() { events.clear(); }

    QList<db::StatementEvent> events;
};

class RecorderScope
{
public:
    explicit RecorderScope(db::Connection &conn)
        : m_conn(conn)
        , m_recorder(std::make_shared<RecordedStatements>())
    {
        m_conn.addRecorder(m_recorder);
    }
    ~RecorderScope() { m_conn.removeRecorder(m_recorder.get()); }
    RecordedStatements &operator*() { return *m_recorder; }
    RecordedStatements *operator->() { return m_recorder.get(); }

private:
    db::Connection &m_conn;
    std::shared_ptr<RecordedStatements> m_recorder;
};

} // namespace vorlane::test
