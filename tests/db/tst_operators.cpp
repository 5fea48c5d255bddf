// Several operators on one account file: each process runs the dictionary's "read, then insert a
// set row and create its table" transaction as fast as it can. None may fail on a lock.

#include "TestDatabase.h"

#include "db/Connection.h"
#include "entry/Defs.h"
#include "model/clsHrSysSetDict.h"
#include "services/clsHrSysSetDictsFace.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace vorlane;

namespace {

constexpr int Operators = 4;
constexpr int Seconds = 3;

// One operator's process: prints "<committed> <failed>", the first failures on stderr.
int runOperator(const QString &connectionString, const QString &prefix, int seconds)
{
    int committed = 0;
    int failed = 0;
    const QDeadlineTimer deadline(seconds * 1000);
    for (int i = 0; !deadline.hasExpired(); ++i) {
        const QString code = prefix + QString::number(i);
        QString error;
        try {
            // A window opening its own connection meets the others' schema changes.
            auto conn = std::make_shared<db::Connection>();
            conn->Open(connectionString);
            Defs::instance().connection = conn;
            db::TransactionGuard tx(*conn);
            auto rs = conn->OpenRecordset(u"select count(*) from hr_sys_setdict"_s);
            rs->Close();
            clsHrSysSetDict set;
            set.setTableCode(code);
            set.setTableName(u"并发信息集"_s + code);
            set.setTableGroup(u"1"_s);
            set.setTableType(u"1"_s);
            clsHrSysSetDictsFace sets;
            if (sets.Add(set, u"1"_s, true) && sets.CreateTable(code, u"R1"_s))
                tx.Commit();
            else
                error = sets.lastError();
        } catch (const std::exception &e) {
            error = QString::fromUtf8(e.what());
        }
        Defs::instance().connection.reset();
        if (error.isEmpty()) {
            ++committed;
        } else if (++failed <= 3) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(code), qPrintable(error));
        }
    }
    std::printf("%d %d\n", committed, failed);
    return 0;
}

} // namespace

class TestOperators : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void severalOperatorsOnOneFile();
};

void TestOperators::severalOperatorsOnOneFile()
{
    test::TestDatabase db;
    QList<QProcess *> processes;
    for (int p = 0; p < Operators; ++p) {
        auto *proc = new QProcess(this);
        proc->start(
            QCoreApplication::applicationFilePath(),
            {u"--operator"_s, db.connectionString(), u"MP%1_"_s.arg(p), QString::number(Seconds)});
        processes << proc;
    }
    int committed = 0;
    int failed = 0;
    for (QProcess *proc : std::as_const(processes)) {
        QVERIFY(proc->waitForFinished(60000));
        const QStringList counts = QString::fromUtf8(proc->readAllStandardOutput()).split(u' ');
        const QByteArray errors = proc->readAllStandardError();
        if (!errors.isEmpty())
            qWarning("%s", errors.constData());
        QCOMPARE(counts.size(), 2);
        committed += counts[0].toInt();
        failed += counts[1].trimmed().toInt();
    }
    qInfo("%d operators, %d s: %d transactions committed, %d failed",
          Operators,
          Seconds,
          committed,
          failed);
    QCOMPARE(failed, 0);
    QVERIFY(committed >= Operators);
    // Every dictionary row has its table, and nothing else was left behind.
    QCOMPARE(
        db.scalar(u"select count(*) from hr_sys_setdict where cTableCode like 'MP%'"_s).toInt(),
        committed);
    QCOMPARE(db.scalar(u"select count(*) from hr_sys_setdict d join sqlite_master m on m.type = "
                       "'table' and m.name = d.cTableCode where d.cTableCode like 'MP%'"_s)
                 .toInt(),
             committed);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == u"--operator")
        return runOperator(args[2], args[3], args[4].toInt());
    TestOperators tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_operators.moc"
