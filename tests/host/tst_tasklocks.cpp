// Task locks between sessions, and locks that sessions left behind: on this computer the
// holder's process tells whether it still works, on another its heartbeat does. The process runs
// with a lock timeout of 2 s, so that its sessions refresh their heartbeat every 200 ms.

#include "TestDatabase.h"

#include "host/DemoAccount.h"
#include "host/HostLogin.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSysInfo>
#include <QTest>

#include <algorithm>
#include <cstdio>

using namespace vorlane;
using namespace Qt::StringLiterals;

namespace {

const QString longAgo = u"'2000-01-01 08:00:00'"_s;

std::unique_ptr<host::HostLogin> signIn(const test::TestDatabase &db, const QString &op)
{
    return host::HostLogin::signIn(db.connectionString(), op, QDate(2025, 3, 31), u"/opt/vx"_s);
}

// Refused with this error, the text naming every part.
bool refused(host::HostLogin &login, const QString &task, long error, const QStringList &parts = {})
{
    if (login.RequestTask(task, true, 0) || login.LastErrorNumber() != error)
        return false;
    return std::all_of(parts.begin(), parts.end(), [&](const QString &p) {
        return login.LastErrorText().contains(p);
    });
}

// A lock row as another session wrote it; heartbeat is a T-SQL expression.
void insertLock(test::TestDatabase &db,
                const QString &task,
                const QString &op,
                const QString &host,
                const QString &heartbeat,
                qint64 pid = 1,
                const QString &processStart = QString())
{
    db.conn().Execute(u"insert into Host_TaskLock (cFunctionCode, cOperatorCode, cSessionId, "
                      "cHostName, iPid, cProcessStart, dStartTime, dHeartbeat) values ('%1', '%2', "
                      "'left-%1', '%3', %4, '%5', '2025-03-30 09:15:00', %6)"_s.arg(task, op, host)
                          .arg(pid)
                          .arg(processStart, heartbeat));
}

QStringList lockedTasks(test::TestDatabase &db)
{
    QStringList tasks;
    auto rs = db.conn().OpenRecordset(
        u"select cFunctionCode from Host_TaskLock order by cFunctionCode"_s);
    for (; !rs->Eof(); rs->MoveNext())
        tasks << rs->FieldValue(0).toString();
    return tasks;
}

// Runs in a child process (--holder database operator task): takes the task and keeps it until
// the parent kills the process.
int runHolder(const QStringList &args)
{
    auto login = host::HostLogin::signIn(args.value(2), args.value(3));
    const bool held = login->RequestTask(args.value(4), true, 0);
    std::printf("%s\n", held ? "HELD" : qPrintable(u"REFUSED "_s + login->LastErrorText()));
    std::fflush(stdout);
    std::getchar();
    return 0;
}

} // namespace

class TstTaskLocks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lockIsExclusiveAcrossSessions();
    void nestedGrantsKeepTheTaskUntilTheLastRelease();
    void leftLock_data();
    void leftLock();
    void lockOfAKilledProcessIsTakenOver();
    void liveSessionOutlastsTheTimeout();
    void signingInAgainReleasesTheOperatorsLeftLocks();
    void upgradeAddsTheHeartbeat();
};

void TstTaskLocks::lockIsExclusiveAcrossSessions()
{
    test::TestDatabase db;
    auto zhang = signIn(db, u"001"_s);
    auto boss = signIn(db, u"demo"_s);
    const QString task = u"HM01010101"_s;
    QVERIFY(zhang->RequestTask(task, true, 0));
    QVERIFY2(refused(*boss,
                     task,
                     host::TaskHeldByOther,
                     {u"[张三]"_s, u"[新增信息集]"_s, QSysInfo::machineHostName()}),
             qPrintable(boss->LastErrorText()));
    QVERIFY(boss->RequestTask(u"HM01010102"_s, true, 0)); // another function is free

    // Releasing with the other session's id leaves the lock alone.
    QVERIFY(boss->RequestTask(task, false, 0));
    QVERIFY(!boss->RequestTask(task, true, 0));

    // Menu nodes are not exclusive and leave no lock.
    const QStringList locks = lockedTasks(db);
    QVERIFY(zhang->RequestTask(u"HM0101"_s, true, 0));
    QVERIFY(boss->RequestTask(u"HM0101"_s, true, 0));
    QVERIFY(zhang->RequestTask(u"HM0101"_s, true, 0));
    QCOMPARE(lockedTasks(db), locks);

    // Closing a session releases all its locks, and only its own.
    auto li = signIn(db, u"002"_s);
    QVERIFY(li->RequestTask(u"HM010104"_s, true, 0));
    QVERIFY(li->RequestTask(u"HM01020101"_s, true, 0));
    QVERIFY(!boss->RequestTask(u"HM010104"_s, true, 0));
    li.reset();
    QCOMPARE(lockedTasks(db), locks);
    QVERIFY(boss->RequestTask(u"HM010104"_s, true, 0));
    QVERIFY(boss->RequestTask(u"HM01020101"_s, true, 0));
}

void TstTaskLocks::nestedGrantsKeepTheTaskUntilTheLastRelease()
{
    test::TestDatabase db;
    auto zhang = signIn(db, u"001"_s);
    auto boss = signIn(db, u"demo"_s);
    const QString task = u"HM01010101"_s;
    QVERIFY(zhang->RequestTask(task, true, 0));
    // Two nested requests: each is refused with 22, which the caller counts as granted.
    QVERIFY(refused(*zhang, task, host::TaskAlreadyHeld));
    QVERIFY(refused(*zhang, task, host::TaskAlreadyHeld));
    zhang->ClearError();
    for (int release = 0; release < 2; ++release) {
        QVERIFY(zhang->RequestTask(task, false, 0));
        QVERIFY2(refused(*boss, task, host::TaskHeldByOther, {u"[张三]"_s}),
                 qPrintable(boss->LastErrorText()));
    }
    QVERIFY(zhang->RequestTask(task, false, 0)); // the first holder is done
    QVERIFY(boss->RequestTask(task, true, 0));
    // The counts start afresh: one release now frees the task.
    QVERIFY(boss->RequestTask(task, false, 0));
    QVERIFY(zhang->RequestTask(task, true, 0));
}

void TstTaskLocks::leftLock_data()
{
    QTest::addColumn<bool>("here");
    QTest::addColumn<QString>("heartbeat");
    QTest::addColumn<bool>("takenOver");
    QTest::newRow("other computer, no heartbeat") << false << u"NULL"_s << false;
    QTest::newRow("other computer, silent longer than the timeout") << false << longAgo << true;
    // This process's id, but recorded for a process that started at another time.
    QTest::newRow("this computer, reused process id") << true << u"getdate()"_s << true;
}

void TstTaskLocks::leftLock()
{
    QFETCH(bool, here);
    QFETCH(QString, heartbeat);
    QFETCH(bool, takenOver);
    test::TestDatabase db;
    const QString host = here ? QSysInfo::machineHostName() : u"other-workstation"_s;
    const qint64 pid = here ? QCoreApplication::applicationPid() : 1;
    insertLock(db, u"HM01020301"_s, u"002"_s, host, heartbeat, pid, here ? u"1"_s : QString());
    auto boss = signIn(db, u"demo"_s);
    if (takenOver) {
        QVERIFY2(boss->RequestTask(u"HM01020301"_s, true, 0), qPrintable(boss->LastErrorText()));
        QCOMPARE(db.scalar(u"select cSessionId from Host_TaskLock"_s).toString(),
                 boss->SessionId());
    } else {
        QVERIFY2(refused(*boss,
                         u"HM01020301"_s,
                         host::TaskHeldByOther,
                         {u"[李四]"_s, u"other-workstation"_s, u"2025-03-30 09:15:00"_s}),
                 qPrintable(boss->LastErrorText()));
    }
}

void TstTaskLocks::lockOfAKilledProcessIsTakenOver()
{
    test::TestDatabase db;
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(),
                 {u"--holder"_s, db.connectionString(), u"002"_s, u"HM01020201"_s});
    QVERIFY(holder.waitForStarted());
    QVERIFY(holder.waitForReadyRead(30000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("HELD"));

    auto boss = signIn(db, u"demo"_s);
    QVERIFY(refused(*boss,
                    u"HM01020201"_s,
                    host::TaskHeldByOther,
                    {u"[李四]"_s, QString::number(holder.processId())}));

    holder.kill(); // no chance to release: the lock stays behind
    QVERIFY(holder.waitForFinished());
    QCOMPARE(lockedTasks(db), QStringList{u"HM01020201"_s});
    QVERIFY2(boss->RequestTask(u"HM01020201"_s, true, 0), qPrintable(boss->LastErrorText()));
}

void TstTaskLocks::liveSessionOutlastsTheTimeout()
{
    test::TestDatabase db;
    auto zhang = signIn(db, u"001"_s);
    QVERIFY(zhang->RequestTask(u"HM01010101"_s, true, 0));
    // As if the session ran on another computer and had been silent for long.
    db.conn().Execute(u"update Host_TaskLock set cHostName = 'other-workstation', dHeartbeat = "_s
                      + longAgo);
    QTRY_VERIFY(db.scalar(u"select dHeartbeat from Host_TaskLock"_s).toDateTime().date().year()
                > 2000);
    QTest::qWait(int(std::chrono::milliseconds(host::HostLogin::lockTimeout()).count()) + 500);
    auto boss = signIn(db, u"demo"_s);
    QVERIFY(refused(*boss, u"HM01010101"_s, host::TaskHeldByOther));
}

void TstTaskLocks::signingInAgainReleasesTheOperatorsLeftLocks()
{
    test::TestDatabase db;
    QProcess ended;
    ended.start(u"true"_s);
    QVERIFY(ended.waitForFinished());
    const QString here = QSysInfo::machineHostName();
    insertLock(db, u"HM01010101"_s, u"001"_s, here, u"getdate()"_s, ended.processId());
    insertLock(db, u"HM01010102"_s, u"001"_s, u"other-workstation"_s, longAgo);
    insertLock(db, u"HM01010201"_s, u"001"_s, u"other-workstation"_s, u"getdate()"_s);
    insertLock(db, u"HM01020101"_s, u"002"_s, u"other-workstation"_s, longAgo);
    auto first = signIn(db, u"001"_s); // still running: keeps what it takes
    QVERIFY(first->RequestTask(u"HM01010202"_s, true, 0));

    auto again = signIn(db, u"001"_s);
    QCOMPARE(lockedTasks(db), (QStringList{u"HM01010201"_s, u"HM01010202"_s, u"HM01020101"_s}));
}

void TstTaskLocks::upgradeAddsTheHeartbeat()
{
    test::TestDatabase db;
    insertLock(db, u"HM01020301"_s, u"002"_s, u"other-workstation"_s, u"NULL"_s);
    db.conn().Execute(u"ALTER TABLE Host_TaskLock DROP COLUMN dHeartbeat"_s);
    db.conn().Execute(u"update Host_Meta set cValue = '1' where cKey = 'SchemaVersion'"_s);

    host::createDemoAccount(db.conn());
    QVERIFY(db.columns(u"Host_TaskLock"_s).contains(u"dheartbeat"_s));
    QCOMPARE(db.scalar(u"select cValue from Host_Meta where cKey = 'SchemaVersion'"_s).toInt(), 2);
    QCOMPARE(db.scalar(u"select dHeartbeat from Host_TaskLock"_s).toDateTime(),
             QDateTime(QDate(2025, 3, 30), QTime(9, 15)));
    host::upgradeAccount(db.conn()); // current: nothing to do
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().value(1) == u"--holder")
        return runHolder(app.arguments());
    qputenv("VORLANE_TASK_LOCK_TIMEOUT", "2");
    TstTaskLocks test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tasklocks.moc"
