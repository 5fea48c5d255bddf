#include "HostLogin.h"

#include "HostSql.h"

#include "db/DbError.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTimer>
#include <QUuid>

#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#endif

namespace vorlane::host {

using namespace Qt::StringLiterals;

namespace {

// What tells a process apart from a later one that got the same id: on Linux the start time in
// clock ticks since boot (field 22 of /proc/<pid>/stat). Empty where unknown.
struct ProcessState
{
    bool exists = false;
    QString startToken;
};

ProcessState probeProcess(qint64 pid)
{
    ProcessState state;
    if (pid <= 0)
        return state;
#ifdef Q_OS_LINUX
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return state;
    const QByteArray line = stat.readAll();
    // "pid (command) state ppid ...": the command may hold blanks and parentheses.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return state;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    if (fields.isEmpty() || fields[0] == "Z" || fields[0] == "X")
        return state; // ended, only not yet reaped
    state.exists = true;
    if (fields.size() > 19)
        state.startToken = QString::fromLatin1(fields[19]);
#elif defined(Q_OS_UNIX)
    state.exists = ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#else
    state.exists = true; // no way to tell here: never take a lock over
#endif
    return state;
}

const QString &thisHost()
{
    static const QString name = QSysInfo::machineHostName();
    return name;
}

const ProcessState &thisProcess()
{
    static const ProcessState state = probeProcess(QCoreApplication::applicationPid());
    return state;
}

struct LockHolder
{
    QString operatorCode;
    QString operatorName;
    QString sessionId;
    QString hostName;
    qint64 pid = 0;
    QString processStart;
    QString startTime;
    // Time since the holder's last heartbeat by the database's clock; none for a lock written
    // without one.
    std::optional<std::chrono::milliseconds> silence;
};

QString textOf(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(u"yyyy-MM-dd hh:mm:ss"_s);
    return v.toString();
}

// A date-time column, or getdate() read without a declared type (text on SQLite).
QDateTime dateTimeOf(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    const QString text = v.toString().trimmed();
    for (const QString &format : {u"yyyy-MM-dd HH:mm:ss.zzz"_s, u"yyyy-MM-dd HH:mm:ss"_s}) {
        const QDateTime dt = QDateTime::fromString(text, format);
        if (dt.isValid())
            return dt;
    }
    return QDateTime::fromString(text, Qt::ISODateWithMs);
}

// Heartbeat and "now" both come from the database, so that the clocks of the operators'
// computers do not matter (on SQLite the database's clock is the reading computer's).
std::optional<std::chrono::milliseconds> silenceOf(const QVariant &heartbeat, const QVariant &now)
{
    const QDateTime beat = dateTimeOf(heartbeat);
    const QDateTime at = dateTimeOf(now);
    if (!beat.isValid() || !at.isValid())
        return std::nullopt;
    return std::chrono::milliseconds(qMax<qint64>(0, beat.msecsTo(at)));
}

// Columns 0..6 of the lock queries below: session, host, process, process start, start time,
// heartbeat and the database's time.
const QString lockColumns = u"l.cSessionId, l.cHostName, l.iPid, l.cProcessStart, l.dStartTime, "
                            "l.dHeartbeat, getdate()"_s;

LockHolder holderAt(db::Recordset &rs, int first)
{
    LockHolder h;
    h.sessionId = rs.FieldValue(first).toString();
    h.hostName = rs.FieldValue(first + 1).toString();
    h.pid = rs.FieldValue(first + 2).toLongLong();
    h.processStart = textOf(rs.FieldValue(first + 3));
    h.startTime = textOf(rs.FieldValue(first + 4));
    h.silence = silenceOf(rs.FieldValue(first + 5), rs.FieldValue(first + 6));
    return h;
}

// Whether the holder can no longer be working with its lock. On this host the process tells;
// another computer's process cannot be seen, so there a heartbeat older than the limit does.
// A lock without a heartbeat (written by a host that keeps none) never times out.
bool holderGone(const LockHolder &holder, std::chrono::milliseconds limit)
{
    if (holder.hostName.compare(thisHost(), Qt::CaseInsensitive) != 0)
        return holder.silence && *holder.silence > limit;
    const ProcessState now = probeProcess(holder.pid);
    if (!now.exists)
        return true;
    return !holder.processStart.isEmpty() && !now.startToken.isEmpty()
           && holder.processStart != now.startToken;
}

} // namespace

QString HostLogin::defaultInstallPath()
{
    const QString fromEnvironment = qEnvironmentVariable("VORLANE_INSTALL_PATH");
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(fromEnvironment);
    QStringList candidates;
    if (QCoreApplication::instance()) {
        const QString appDir = QCoreApplication::applicationDirPath();
        candidates << appDir + u"/.."_s << appDir;
    }
#ifdef VORLANE_SOURCE_DIR
    candidates << QStringLiteral(VORLANE_SOURCE_DIR);
#endif
    for (const QString &dir : std::as_const(candidates)) {
        if (QDir(dir).exists(u"share"_s))
            return QDir::cleanPath(QDir(dir).absolutePath());
    }
    return candidates.isEmpty() ? QDir::currentPath() : QDir::cleanPath(candidates.first());
}

std::chrono::seconds HostLogin::lockTimeout()
{
    bool ok = false;
    const qint64 seconds
        = qEnvironmentVariable("VORLANE_TASK_LOCK_TIMEOUT").trimmed().toLongLong(&ok);
    return std::chrono::seconds(ok && seconds > 0 ? seconds : 600);
}

std::chrono::milliseconds HostLogin::lockRefreshInterval()
{
    const std::chrono::milliseconds tenth = std::chrono::milliseconds(lockTimeout()) / 10;
    return qMin(tenth, std::chrono::milliseconds(std::chrono::minutes(1)));
}

std::unique_ptr<HostLogin> HostLogin::signIn(const QString &connectionString,
                                             const QString &operatorCode,
                                             const QDate &businessDate,
                                             const QString &installPath)
{
    std::unique_ptr<HostLogin> login(new HostLogin);
    login->m_connectionString = connectionString;
    login->m_installPath
        = installPath.isEmpty() ? defaultInstallPath() : QDir::cleanPath(installPath);
    login->m_businessDate = businessDate.isValid() ? businessDate : QDate::currentDate();
    login->m_sessionId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    login->m_conn = std::make_unique<db::Connection>();
    login->m_conn->Open(connectionString);

    db::Connection &conn = *login->m_conn;
    auto op = conn.OpenRecordset(
        u"select cOperatorCode, vOperatorName, bSupervisor, bDisabled from Host_Operator "
        "where cOperatorCode = "_s
        + sqlText(operatorCode.trimmed()));
    if (op->Eof())
        throw db::DbError(u"操作员[%1]不存在"_s.arg(operatorCode.trimmed()));
    if (op->FieldValue(3).toBool())
        throw db::DbError(u"操作员[%1]已停用"_s.arg(operatorCode.trimmed()));
    login->m_operatorCode = op->FieldValue(0).toString();
    login->m_operatorName = op->FieldValue(1).toString();
    login->m_supervisor = op->FieldValue(2).toBool();
    op->Close();
    login->releaseLeftLocks();

    // Runs only while the session holds locks, on the thread's event loop.
    login->m_heartbeat = std::make_unique<QTimer>();
    login->m_heartbeat->setInterval(lockRefreshInterval());
    HostLogin *self = login.get();
    QObject::connect(login->m_heartbeat.get(), &QTimer::timeout, login->m_heartbeat.get(), [self] {
        self->refreshHeartbeat();
    });

    auto account
        = conn.OpenRecordset(u"select cName, cValue from AccInformation where cSysID = 'AA'"_s);
    for (; !account->Eof(); account->MoveNext()) {
        const QString name = account->FieldValue(0).toString();
        if (name.compare(u"cAcc_Id"_s, Qt::CaseInsensitive) == 0)
            login->m_accountCode = textOf(account->FieldValue(1));
        else if (name.compare(u"cUnitName"_s, Qt::CaseInsensitive) == 0)
            login->m_accountName = textOf(account->FieldValue(1));
    }
    return login;
}

HostLogin::~HostLogin()
{
    if (!m_conn)
        return;
    try {
        ReleaseAll();
        if (m_conn->State() == db::adStateOpen)
            m_conn->Close();
    } catch (const db::DbError &) {
        // A lock left behind is taken over once this process has ended.
    }
}

void HostLogin::ReleaseAll()
{
    m_nested.clear();
    m_held.clear();
    if (m_heartbeat)
        m_heartbeat->stop();
    m_conn->Execute(u"delete from Host_TaskLock where cSessionId = "_s + sqlText(m_sessionId));
}

// The operator signing in again gets back the locks an earlier session of theirs left: those
// whose process on this computer has ended, and, on any computer, those whose session has missed
// three heartbeats in a row (three minutes by default). A session of the same operator that still
// runs refreshes its heartbeat and keeps its locks, so signing in on a second computer never takes
// a task away from work in progress. Other operators' locks wait for lockTimeout().
void HostLogin::releaseLeftLocks()
{
    try {
        QList<QPair<QString, QString>> left; // function code, session
        auto rs = m_conn->OpenRecordset(u"select l.cFunctionCode, "_s + lockColumns
                                        + u" from Host_TaskLock l where l.cOperatorCode = "_s
                                        + sqlText(m_operatorCode) + u" and l.cSessionId <> "_s
                                        + sqlText(m_sessionId));
        for (; !rs->Eof(); rs->MoveNext()) {
            const LockHolder holder = holderAt(*rs, 1);
            if (holderGone(holder, 3 * lockRefreshInterval()))
                left.append({rs->FieldValue(0).toString(), holder.sessionId});
        }
        rs->Close();
        for (const auto &[code, session] : std::as_const(left)) {
            m_conn->Execute(u"delete from Host_TaskLock where cFunctionCode = "_s + sqlText(code)
                            + u" and cSessionId = "_s + sqlText(session));
        }
    } catch (const db::DbError &) {
        // Signing in goes on; what is left times out or is taken over on request.
    }
}

void HostLogin::refreshHeartbeat()
{
    if (m_held.isEmpty())
        return;
    try {
        m_conn->Execute(u"update Host_TaskLock set dHeartbeat = getdate() where cSessionId = "_s
                        + sqlText(m_sessionId));
    } catch (const db::DbError &) {
        // The operator's work goes on; one missed heartbeat is far from the timeout.
    }
}

void HostLogin::ClearError()
{
    m_errorNumber = TaskOk;
    m_errorText.clear();
}

bool HostLogin::refuse(long number, const QString &text)
{
    m_errorNumber = number;
    m_errorText = text;
    return false;
}

QString HostLogin::FunctionName(const QString &functionCode)
{
    auto rs
        = m_conn->OpenRecordset(u"select vFunctionName from Host_Function where cFunctionCode = "_s
                                + sqlText(functionCode));
    return rs->Eof() ? functionCode : rs->FieldValue(0).toString();
}

bool HostLogin::isGranted(const QString &code)
{
    if (m_supervisor)
        return true;
    auto rs = m_conn->OpenRecordset(u"select cFunctionCode from Host_Right where cOperatorCode = "_s
                                    + sqlText(m_operatorCode));
    for (; !rs->Eof(); rs->MoveNext()) {
        const QString granted = rs->FieldValue(0).toString().trimmed();
        if (!granted.isEmpty() && code.startsWith(granted, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool HostLogin::RequestTask(const QString &functionCode, bool begin, int reserved)
{
    Q_UNUSED(reserved)
    ClearError();
    const QString code = functionCode.trimmed();
    try {
        if (!begin) {
            // A nested grant's release leaves the task with the caller that still works on it.
            const auto nested = m_nested.find(code.toUpper());
            if (nested != m_nested.end()) {
                if (--nested.value() == 0)
                    m_nested.erase(nested);
                return true;
            }
            m_conn->Execute(u"delete from Host_TaskLock where cFunctionCode = "_s + sqlText(code)
                            + u" and cSessionId = "_s + sqlText(m_sessionId));
            m_held.remove(code.toUpper());
            if (m_held.isEmpty())
                m_heartbeat->stop();
            return true;
        }
        return beginTask(code);
    } catch (const db::DbError &e) {
        return refuse(TaskDatabaseError, u"读取功能权限失败：%1"_s.arg(e.message()));
    }
}

bool HostLogin::beginTask(const QString &code)
{
    auto fn = m_conn->OpenRecordset(
        u"select vFunctionName, bExclusive from Host_Function where cFunctionCode = "_s
        + sqlText(code));
    if (fn->Eof())
        return refuse(TaskUnknownFunction, u"功能[%1]没有在系统中登记"_s.arg(code));
    const QString name = fn->FieldValue(0).toString();
    const bool exclusive = fn->FieldValue(1).toBool();
    fn->Close();

    if (!isGranted(code))
        return refuse(TaskNotGranted, u"操作员[%1]没有[%2]功能的权限"_s.arg(m_operatorName, name));
    if (!exclusive)
        return true;

    QString lastFailure;
    for (int attempt = 0; attempt < 3; ++attempt) {
        auto rs = m_conn->OpenRecordset(
            u"select l.cOperatorCode, o.vOperatorName, "_s + lockColumns
            + u" from Host_TaskLock l left join Host_Operator o on o.cOperatorCode = "
              "l.cOperatorCode where l.cFunctionCode = "_s
            + sqlText(code));
        if (!rs->Eof()) {
            LockHolder holder = holderAt(*rs, 2);
            holder.operatorCode = rs->FieldValue(0).toString();
            holder.operatorName = rs->FieldValue(1).toString();
            rs->Close();
            if (holder.sessionId == m_sessionId) {
                ++m_nested[code.toUpper()];
                return refuse(TaskAlreadyHeld,
                              u"操作员[%1]已经在使用[%2]功能"_s.arg(m_operatorName, name));
            }
            if (!holderGone(holder, lockTimeout())) {
                const QString who
                    = holder.operatorName.isEmpty() ? holder.operatorCode : holder.operatorName;
                return refuse(TaskHeldByOther,
                              u"[%1]功能正在被操作员[%2]使用（计算机 %3，进程 %4，%5 开始），"
                              "请稍后再试"_s.arg(name, who, holder.hostName)
                                  .arg(holder.pid)
                                  .arg(holder.startTime));
            }
            // The holder is gone without releasing: take the lock over. Only that holder's row is
            // removed, so a lock taken meanwhile by someone else stays.
            m_conn->Execute(u"delete from Host_TaskLock where cFunctionCode = "_s + sqlText(code)
                            + u" and cSessionId = "_s + sqlText(holder.sessionId));
            continue;
        }
        rs->Close();
        try {
            m_conn->Execute(
                u"insert into Host_TaskLock (cFunctionCode, cOperatorCode, cSessionId, cHostName, "
                "iPid, cProcessStart, dStartTime, dHeartbeat) values (%1, %2, %3, %4, %5, %6, %7, "
                "getdate())"_s.arg(
                    sqlText(code),
                    sqlText(m_operatorCode),
                    sqlText(m_sessionId),
                    sqlText(thisHost()),
                    QString::number(QCoreApplication::applicationPid()),
                    sqlText(thisProcess().startToken),
                    sqlText(QDateTime::currentDateTime().toString(u"yyyy-MM-dd hh:mm:ss"_s))));
            m_held.insert(code.toUpper());
            if (QCoreApplication::instance() && !m_heartbeat->isActive())
                m_heartbeat->start();
            return true;
        } catch (const db::DbError &e) {
            // Another session won the race; the next round reads who it was.
            lastFailure = e.message();
        }
    }
    return refuse(TaskDatabaseError, u"不能登记[%1]功能的任务锁：%2"_s.arg(name, lastFailure));
}

} // namespace vorlane::host
