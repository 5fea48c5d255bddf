#pragma once

#include "VexaLogin.h"

#include "db/Connection.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QString>

#include <chrono>
#include <memory>

class QTimer;

namespace vorlane::host {

// Error numbers of refused task requests. Only 22 has a meaning for the component.
enum TaskError : long {
    TaskOk = 0,
    TaskUnknownFunction = 20,
    TaskNotGranted = 21,
    TaskAlreadyHeld = 22, // this session holds the task already; counts as granted
    TaskHeldByOther = 23,
    TaskDatabaseError = 24,
};

// The host's login object for one signed-in operator of one account database. It keeps its own
// connection for rights and task locks, so that the component's transactions never hold them up.
// A task lock records the session, host name and process, and a heartbeat that the session
// refreshes every lockRefreshInterval() while it holds locks. The next request takes a lock over
// when its holder is gone: on this computer, when the holder's process has ended; on another
// computer, whose processes cannot be seen, when the heartbeat is older than lockTimeout().
// Signing in again releases the operator's own locks that an ended session left behind.
// A request for a task the session holds already is refused with TaskAlreadyHeld (which callers
// count as granted) and nests: only the release that matches the first grant frees the task.
class HostLogin final : public VexaLogin, public ZWPub
{
public:
    // Signs the operator in by code. Throws db::DbError when the database cannot be opened or the
    // operator is unknown or disabled. An empty business date means today; an empty installation
    // path means defaultInstallPath().
    static std::unique_ptr<HostLogin> signIn(const QString &connectionString,
                                             const QString &operatorCode,
                                             const QDate &businessDate = QDate(),
                                             const QString &installPath = QString());

    // The directory holding share/ (help pages under share/help, print styles under
    // share/printstyle): $VORLANE_INSTALL_PATH, else the first of the application directory's
    // parent, the application directory and the source tree that has share/.
    static QString defaultInstallPath();

    // How long a lock of another computer outlives its last heartbeat: 10 minutes, or
    // $VORLANE_TASK_LOCK_TIMEOUT seconds.
    static std::chrono::seconds lockTimeout();
    // How often a session refreshes the heartbeat of its locks: a tenth of the timeout, at most
    // a minute.
    static std::chrono::milliseconds lockRefreshInterval();

    ~HostLogin() override;
    HostLogin(const HostLogin &) = delete;
    HostLogin &operator=(const HostLogin &) = delete;

    // VexaLogin
    QString ConnectionString() const override { return m_connectionString; }
    QString InstallPath() const override { return m_installPath; }
    QString AccountCode() const override { return m_accountCode; }
    QString AccountName() const override { return m_accountName; }
    QDate BusinessDate() const override { return m_businessDate; }
    QString OperatorName() const override { return m_operatorName; }
    bool RequestTask(const QString &functionCode, bool begin, int reserved) override;
    long LastErrorNumber() const override { return m_errorNumber; }
    QString LastErrorText() const override { return m_errorText; }
    void ClearError() override;

    // ZWPub: the function's name, or the code itself when the host does not know it.
    QString FunctionName(const QString &functionCode) override;

    QString OperatorCode() const { return m_operatorCode; }
    bool IsSupervisor() const { return m_supervisor; }
    QString SessionId() const { return m_sessionId; }
    // Releases every task this session holds.
    void ReleaseAll();

private:
    HostLogin() = default;

    bool beginTask(const QString &code);
    bool refuse(long number, const QString &text);
    bool isGranted(const QString &code);
    void releaseLeftLocks();
    void refreshHeartbeat();

    std::unique_ptr<db::Connection> m_conn;
    std::unique_ptr<QTimer> m_heartbeat;
    // Function codes whose lock rows this session wrote and has not released.
    QSet<QString> m_held;
    QString m_connectionString;
    QString m_installPath;
    QString m_accountCode;
    QString m_accountName;
    QDate m_businessDate;
    QString m_operatorCode;
    QString m_operatorName;
    bool m_supervisor = false;
    QString m_sessionId;
    // Grants through TaskAlreadyHeld not yet released, by function code.
    QHash<QString, int> m_nested;
    long m_errorNumber = TaskOk;
    QString m_errorText;
};

} // namespace vorlane::host
