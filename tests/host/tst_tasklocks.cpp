// Task locks of sessions on other computers and of the same operator signing in again. The
// process runs with a lock timeout of 2 s, so that its sessions refresh their heartbeat every
// 200 ms.

#include "TestDatabase.h"

#include "host/DemoAccount.h"
#include "host/HostLogin.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSysInfo>
#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;

namespace {

const QString longAgo = u"'2000-01-01 08:00:00'"_s;

std::unique_ptr<host::HostLogin> signIn(const test::TestDatabase &db, const QString &op)
{
    return host::HostLogin::signIn(db.connectionString(), op, QDate(2025, 3, 31), u"/opt/vx"_s);
}

// A lock row as another session wrote it; heartbeat is a T-SQL expression.
void insertLock(test::TestDatabase &db,
                const QString &task,
                const QString &op,
                const QString &host,
                qint64 pid,
                const QString &heartbeat)
{
    db.conn().Execute(u"insert into Host_TaskLock (cFunctionCode, cOperatorCode, cSessionId, "
                      "cHostName, iPid, dStartTime, dHeartbeat) values ('%1', '%2', 'left-%1', "
                      "'%3', %4, '2025-03-30 09:15:00', %5)"_s.arg(task, op, host)
                          .arg(pid)
                          .arg(heartbeat));
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

} // namespace

class TstTaskLocks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lockOfAnotherComputer_data();
    void lockOfAnotherComputer();
    void liveSessionOutlastsTheTimeout();
    void signingInAgainReleasesTheOperatorsLeftLocks();
    void upgradeAddsTheHeartbeat();
};

void TstTaskLocks::lockOfAnotherComputer_data()
{
    QTest::addColumn<QString>("heartbeat");
    QTest::addColumn<bool>("takenOver");
    QTest::newRow("fresh heartbeat") << u"getdate()"_s << false;
    QTest::newRow("silent longer than the timeout") << longAgo << true;
}

void TstTaskLocks::lockOfAnotherComputer()
{
    QFETCH(QString, heartbeat);
    QFETCH(bool, takenOver);
    test::TestDatabase db;
    insertLock(db, u"HM01020301"_s, u"002"_s, u"other-workstation"_s, 1, heartbeat);
    auto boss = signIn(db, u"demo"_s);
    QCOMPARE(boss->RequestTask(u"HM01020301"_s, true, 0), takenOver);
    if (takenOver) {
        QCOMPARE(db.scalar(u"select cSessionId from Host_TaskLock"_s).toString(),
                 boss->SessionId());
    } else {
        QCOMPARE(boss->LastErrorNumber(), long(host::TaskHeldByOther));
        for (const QString &part : {u"[李四]"_s, u"other-workstation"_s, u"2025-03-30 09:15:00"_s})
            QVERIFY2(boss->LastErrorText().contains(part), qPrintable(boss->LastErrorText()));
    }
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
    QVERIFY(!boss->RequestTask(u"HM01010101"_s, true, 0));
    QCOMPARE(boss->LastErrorNumber(), long(host::TaskHeldByOther));
}

void TstTaskLocks::signingInAgainReleasesTheOperatorsLeftLocks()
{
    test::TestDatabase db;
    QProcess ended;
    ended.start(u"true"_s);
    QVERIFY(ended.waitForFinished());
    const QString here = QSysInfo::machineHostName();
    insertLock(db, u"HM01010101"_s, u"001"_s, here, ended.processId(), u"getdate()"_s);
    insertLock(db, u"HM01010102"_s, u"001"_s, u"other-workstation"_s, 1, longAgo);
    insertLock(db, u"HM01010201"_s, u"001"_s, u"other-workstation"_s, 1, u"getdate()"_s);
    insertLock(db, u"HM01020101"_s, u"002"_s, u"other-workstation"_s, 1, longAgo);
    auto first = signIn(db, u"001"_s); // still running: keeps what it takes
    QVERIFY(first->RequestTask(u"HM01010202"_s, true, 0));

    auto again = signIn(db, u"001"_s);
    QCOMPARE(lockedTasks(db), (QStringList{u"HM01010201"_s, u"HM01010202"_s, u"HM01020101"_s}));
}

void TstTaskLocks::upgradeAddsTheHeartbeat()
{
    test::TestDatabase db;
    insertLock(db, u"HM01020301"_s, u"002"_s, u"other-workstation"_s, 1, u"NULL"_s);
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
    qputenv("VORLANE_TASK_LOCK_TIMEOUT", "2");
    TstTaskLocks test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tasklocks.moc"
