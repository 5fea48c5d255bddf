#include "db/Connection.h"
#include "db/SqliteEngine.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace vorlane::db;
using namespace Qt::StringLiterals;

namespace {

// Both ways of reaching SQLite run the same checks: the embedded engine and ODBC.
QString connectionString(const QString &engine, const QString &path)
{
    if (engine == QLatin1String("odbc"))
        return QStringLiteral("odbc:Driver=SQLite3;Database=") + path;
    return QStringLiteral("sqlite:") + path;
}

// A connection to a fresh database file of its own.
struct TempDb
{
    QTemporaryDir dir;
    Connection c;
    explicit TempDb(const QString &engine = QStringLiteral("sqlite"))
    {
        c.Open(connectionString(engine, dir.filePath(QStringLiteral("t.db"))));
    }
};

void addEngines()
{
    QTest::addColumn<QString>("engine");
    QTest::newRow("sqlite") << QStringLiteral("sqlite");
    QTest::newRow("odbc") << QStringLiteral("odbc");
}

} // namespace

class TestConnection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void connectionStrings();
    void badConnectionStrings_data();
    void badConnectionStrings();
    void typeCodes_data() { addEngines(); }
    void typeCodes();
    void nullIsNotEmpty_data() { addEngines(); }
    void nullIsNotEmpty();
    void quotedNumbersReadAsNumbers();
    void refusalNamesTableColumnValue_data() { addEngines(); }
    void refusalNamesTableColumnValue();
    void alterColumnKeepsValueRules();
    void shellReadsAndWritesAccountFile();
    void fieldsByName_data() { addEngines(); }
    void fieldsByName();
    void transactions_data() { addEngines(); }
    void transactions();
    void statementLogAppendsAndNeverFails();
    void lockThatOutlastsTheWaitNamesTheFile();
};

void TestConnection::connectionStrings()
{
    TempDb db;
    db.c.Execute(QStringLiteral("create table t (a int)"));
    db.c.Close();
    QCOMPARE(db.c.State(), int(adStateClosed));
    QVERIFY_THROWS_EXCEPTION(DbError, db.c.Execute(QStringLiteral("select 1")));
    QVERIFY_THROWS_EXCEPTION(DbError, db.c.BeginTrans());
    db.c.Close(); // closing twice is harmless
    Connection plain;
    plain.Open(db.dir.filePath(QStringLiteral("t.db"))); // a plain path to a .db file
    QCOMPARE(plain.State(), int(adStateOpen));
    auto rs = plain.OpenRecordset(QStringLiteral("select count(*) from t"));
    QCOMPARE(rs->FieldValue(0).toInt(), 0);
}

void TestConnection::badConnectionStrings_data()
{
    QTest::addColumn<QString>("cs");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no engine") << QStringLiteral("Provider=SQLOLEDB;Data Source=x")
                               << QStringLiteral("没有指明数据库引擎");
    QTest::newRow("missing directory")
        << QStringLiteral("sqlite:/nonexistent-dir-vorlane/x.db") << QStringLiteral("目录不存在");
    QTest::newRow("driver not installed")
        << QStringLiteral("odbc:Driver=No Such Driver Vorlane;Database=x")
        << QStringLiteral("无法连接 ODBC 数据源");
}

void TestConnection::badConnectionStrings()
{
    QFETCH(QString, cs);
    QFETCH(QString, expected);
    Connection c;
    try {
        c.Open(cs);
        QFAIL("opened a bad connection string");
    } catch (const DbError &e) {
        QVERIFY2(e.message().contains(expected), qPrintable(e.message()));
    }
    QCOMPARE(c.State(), int(adStateClosed));
    QVERIFY(!QDir(QStringLiteral("/nonexistent-dir-vorlane")).exists());
}

void TestConnection::typeCodes()
{
    QFETCH(QString, engine);
    TempDb db(engine);
    Connection &c = db.c;
    c.Execute(QStringLiteral(
        "create table t (i int, s smallint, b bit, v varchar(20), n nvarchar(40), ch char(1), "
        "num numeric(10,2), f float, d datetime, g ZQUID)"));
    c.Execute(QStringLiteral("insert into t values (7, 3, 1, 'abc', '人事', 'x', 12.5, 0.25, "
                             "'2024-03-05 10:11:12', 'A1B2')"));
    auto rs = c.OpenRecordset(QStringLiteral("select * from t"));
    QVERIFY(!rs->Eof());
    const auto types = [&](const QString &names) {
        QList<int> out;
        for (const QString &name : names.split(u' '))
            out << rs->Fields(name).Type();
        return out;
    };
    QCOMPARE(types(u"i s b f d"_s),
             (QList<int>{adInteger, adSmallInt, adBoolean, adDouble, adDBTimeStamp}));
    // The SQLite ODBC driver describes numeric columns as double.
    QVERIFY(rs->Fields(u"num").Type() == adNumeric
            || (engine == QLatin1String("odbc") && rs->Fields(u"num").Type() == adDouble));
    // The ODBC driver reports the wide and narrow text kinds its own way.
    if (engine == QLatin1String("sqlite"))
        QCOMPARE(types(u"v n ch g"_s), (QList<int>{adVarChar, adVarWChar, adChar, adGUID}));
    QCOMPARE(rs->Fields(u"b").Value(), QVariant(true));
    QCOMPARE(rs->Fields(u"n").Value().toString(), QStringLiteral("人事"));
    QCOMPARE(rs->Fields(u"num").Value().toDouble(), 12.5);
    QCOMPARE(rs->Fields(u"d").Value().toDateTime(),
             QDateTime(QDate(2024, 3, 5), QTime(10, 11, 12)));
}

void TestConnection::nullIsNotEmpty()
{
    QFETCH(QString, engine);
    TempDb db(engine);
    Connection &c = db.c;
    c.Execute(QStringLiteral("create table t (k int, v varchar(10), i int, b bit)"));
    c.Execute(QStringLiteral("insert into t values (1, '', 0, 0)"));
    c.Execute(QStringLiteral("insert into t values (2, null, null, null)"));
    auto rs = c.OpenRecordset(QStringLiteral("select v, i, b from t order by k"));
    for (int i = 0; i < 3; ++i)
        QVERIFY(!rs->Fields(i).IsNull() && !isNullValue(rs->Fields(i).Value()));
    QCOMPARE(rs->Fields(0).Value(), QVariant(QString()));
    QCOMPARE(rs->Fields(2).Value(), QVariant(false));
    rs->MoveNext();
    for (int i = 0; i < 3; ++i) {
        QVERIFY(rs->Fields(i).IsNull());
        QVERIFY(isNullValue(rs->Fields(i).Value()));
    }
    // The declared type holds for NULL too.
    QCOMPARE(rs->Fields(2).Type(), int(adBoolean));
}

void TestConnection::quotedNumbersReadAsNumbers()
{
    // Statements quote every value; SQL Server converts them on storing, SQLite keeps the text.
    TempDb db;
    Connection &c = db.c;
    c.Execute(QStringLiteral("create table t (k int, i int, b bit, n numeric(8,2), v varchar(5))"));
    c.Execute(QStringLiteral("insert into t values (1, '', '', '', '')"));
    c.Execute(QStringLiteral("insert into t values (2, ' 12 ', '1', '2.5', '7')"));
    c.Execute(QStringLiteral("insert into t values (3, 5, 0, 'abc', '8')"));
    auto rs = c.OpenRecordset(QStringLiteral("select i, b, n, v from t order by k"));
    const auto next = [&] {
        QVariantList row;
        for (int i = 0; i < 4; ++i)
            row << rs->Fields(i).Value();
        rs->MoveNext();
        return row;
    };
    QCOMPARE(next(), (QVariantList{0, false, 0.0, QString()}));
    QCOMPARE(next(), (QVariantList{12, true, 2.5, u"7"_s})); // text stays text
    // What is no number stays as it was stored, so a conversion further up fails visibly.
    QCOMPARE(next().value(2), QVariant(u"abc"_s));
}

void TestConnection::refusalNamesTableColumnValue()
{
    QFETCH(QString, engine);
    TempDb db(engine);
    Connection &c = db.c;
    c.Execute(QStringLiteral("create table hr_x (k int, iAge int, vName varchar(6))"));
    c.BeginTrans();
    c.Execute(QStringLiteral("insert hr_x (k, iAge, vName) values (1, 30, '王五')"));
    const QList<std::pair<QString, QString>> refused{
        {u"insert hr_x (k, iAge, vName) values (2, '三十', '张三')"_s, u"hr_x iAge int 三十"_s},
        {u"update hr_x set vName = '欧阳娜娜' where k = 1"_s, u"hr_x vName varchar(6) 欧阳娜娜"_s}};
    for (const auto &[sql, named] : refused) {
        try {
            c.Execute(sql);
            QFAIL(qPrintable(sql));
        } catch (const DbError &e) {
            for (const QString &n : named.split(u' '))
                QVERIFY2(e.message().contains(n), qPrintable(e.message()));
        }
    }
    // The transaction goes on with nothing of the refused statements in it.
    c.CommitTrans();
    auto rs = c.OpenRecordset(QStringLiteral("select count(*), max(vName) from hr_x"));
    QCOMPARE(rs->FieldValue(0).toInt(), 1);
    QCOMPARE(rs->FieldValue(1).toString(), QStringLiteral("王五"));
}

void TestConnection::alterColumnKeepsValueRules()
{
    TempDb db;
    Connection &c = db.c;
    c.Execute(QStringLiteral("create table t (k int, v varchar(4), n varchar(8))"));
    c.Execute(QStringLiteral("insert t (k, v, n) values (1, 'abcd', '12')"));
    const auto refuses = [&](const QString &sql, const QString &value) {
        try {
            c.Execute(sql);
        } catch (const DbError &e) {
            return e.message().contains(value) && e.message().contains(QStringLiteral("t"));
        }
        return false;
    };
    // Longer in place (the declaration only): the new length holds, and so does the limit.
    c.Execute(QStringLiteral("alter table t alter column v varchar(6)"));
    c.Execute(QStringLiteral("update t set v = 'abcdef'"));
    QVERIFY(refuses(QStringLiteral("update t set v = 'abcdefg'"), QStringLiteral("abcdefg")));
    // Shorter than a stored value: refused, naming it; the column stays as it was.
    QVERIFY(refuses(QStringLiteral("alter table t alter column v varchar(3)"),
                    QStringLiteral("abcdef")));
    c.Execute(QStringLiteral("update t set v = 'abcdef'"));
    // Text to int rebuilds the table: the numbers convert, other text is refused by name.
    c.Execute(QStringLiteral("alter table t alter column n int"));
    QVERIFY(refuses(QStringLiteral("insert t (k, n) values (2, 'x9')"), QStringLiteral("x9")));
    auto rs = c.OpenRecordset(QStringLiteral("select v, n from t"));
    QCOMPARE(rs->FieldValue(0).toString(), QStringLiteral("abcdef"));
    QCOMPARE(rs->FieldValue(1), QVariant(12));
}

void TestConnection::shellReadsAndWritesAccountFile()
{
    const QString shell = QStandardPaths::findExecutable(u"sqlite3"_s);
    if (shell.isEmpty())
        QSKIP("the sqlite3 shell is not installed");
    TempDb db;
    db.c.Execute(u"create table t (i int, v varchar(4))"_s);
    db.c.Execute(u"insert t (i, v) values (1, '人事')"_s);
    const auto run = [&](const QString &sql) {
        QProcess p;
        p.start(shell, {db.dir.filePath(u"t.db"_s), sql});
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
    };
    // While this connection is open, the shell reads, writes, and meets the same rules.
    QCOMPARE(run(u"insert into t values (2, 'ab'); select count(*) from t;"_s), u"2"_s);
    QVERIFY(run(u"insert into t values ('x', 'ab')"_s).contains(u"CHECK"_s));
    QVERIFY(run(u"insert into t values (3, '人事部')"_s).contains(u"CHECK"_s));
    QCOMPARE(db.c.OpenRecordset(u"select count(*) from t"_s)->FieldValue(0).toInt(), 2);
}

void TestConnection::fieldsByName()
{
    QFETCH(QString, engine);
    TempDb db(engine);
    Connection &c = db.c;
    c.Execute(QStringLiteral("create table t (cTableCode varchar(10), vTableName nvarchar(20))"));
    c.Execute(QStringLiteral("insert into t values ('HR001', '人员信息')"));
    auto rs = c.OpenRecordset(QStringLiteral("select * from t"));
    QCOMPARE(rs->FieldCount(), 2);
    QCOMPARE(rs->Fields(u"CTABLECODE").Value().toString(), QStringLiteral("HR001"));
    QCOMPARE(rs->Fields(u"vtablename").Value().toString(), QStringLiteral("人员信息"));
    // Out of the predicted order, and again in order.
    QCOMPARE(rs->Fields(u"ctablecode").Name(), QStringLiteral("cTableCode"));
    QCOMPARE(rs->Fields(1).Name(), QStringLiteral("vTableName"));
    QCOMPARE(rs->FieldIndex(u"nothere"), -1);
    QVERIFY_THROWS_EXCEPTION(DbError, rs->Fields(u"nothere"));
    QVERIFY_THROWS_EXCEPTION(DbError, rs->Fields(2));
    rs->MoveNext();
    QVERIFY_THROWS_EXCEPTION(DbError, rs->Fields(0).Value());
    QVERIFY_THROWS_EXCEPTION(DbError, rs->MoveNext());
    // Equally named columns (a join of two tables): the first wins, whatever was read before.
    rs = c.OpenRecordset(QStringLiteral("select 1 as a, 2 as b, 3 as a"));
    QCOMPARE(rs->Fields(u"b").Index(), 1);
    QCOMPARE(rs->Fields(u"A").Index(), 0);
    QCOMPARE(rs->Fields(u"b").Index(), 1);
    QCOMPARE(rs->Fields(u"a").Index(), 0);
}

void TestConnection::transactions()
{
    QFETCH(QString, engine);
    TempDb db(engine);
    Connection &c = db.c;
    c.Execute(QStringLiteral("create table t (a int)"));

    c.BeginTrans();
    QVERIFY(c.InTransaction());
    QVERIFY_THROWS_EXCEPTION(DbError, c.BeginTrans());
    c.Execute(QStringLiteral("insert into t values (1)"));
    c.Execute(QStringLiteral("create table u (b int)"));
    c.Execute(QStringLiteral("alter table t add c varchar(10)"));
    c.RollbackTrans();
    QVERIFY(!c.InTransaction());
    auto rs = c.OpenRecordset(QStringLiteral("select count(*) from t"));
    QCOMPARE(rs->FieldValue(0).toInt(), 0);
    rs.reset();
    QVERIFY_THROWS_EXCEPTION(DbError, c.Execute(QStringLiteral("select * from u")));
    rs = c.OpenRecordset(QStringLiteral("select * from t"));
    QCOMPARE(rs->FieldCount(), 1);
    rs.reset();

    c.BeginTrans();
    QCOMPARE(c.Execute(QStringLiteral("insert into t values (2)")), 1LL);
    c.CommitTrans();
    rs = c.OpenRecordset(QStringLiteral("select a from t"));
    QCOMPARE(rs->FieldValue(0).toInt(), 2);
    QVERIFY_THROWS_EXCEPTION(DbError, c.CommitTrans());
}

void TestConnection::statementLogAppendsAndNeverFails()
{
    TempDb db;
    Connection &c = db.c;
    const QString path = db.dir.filePath(QStringLiteral("statements.log"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("earlier line\n");
    }
    auto log = std::make_shared<StatementLogFile>(path);
    QVERIFY(log->isOpen());
    c.addRecorder(log);
    c.Execute(QStringLiteral("create table t (a varchar(20))"));
    c.Execute(QStringLiteral("insert t (a) values ('两行\n文本')"));
    QVERIFY_THROWS_EXCEPTION(DbError, c.Execute(QStringLiteral("drop table missing_y")));

    // Flushed per line: readable while the connection is still open.
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines
        = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QStringLiteral("earlier line"));
    QVERIFY(lines[2].endsWith(QStringLiteral("rows=1\tinsert t (a) values ('两行\\n文本')")));
    QVERIFY(lines[3].contains(u"error: "_s) && lines[3].contains(u"missing_y"_s));

    // A log that cannot be written changes nothing for the statements.
    auto broken
        = std::make_shared<StatementLogFile>(db.dir.filePath(QStringLiteral("no/such/dir/x.log")));
    QVERIFY(!broken->isOpen());
    c.addRecorder(broken);
    QCOMPARE(c.Execute(QStringLiteral("insert t (a) values ('x')")), 1LL);
}

void TestConnection::lockThatOutlastsTheWaitNamesTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("locked.db"));
    Connection a;
    a.Open(QStringLiteral("sqlite:") + path);
    a.Execute(QStringLiteral("create table t (a int)"));
    a.BeginTrans();
    a.Execute(QStringLiteral("insert into t values (1)"));

    Connection b;
    b.Open(QStringLiteral("sqlite:") + path);
    dynamic_cast<SqliteEngine &>(b.engine()).setBusyTimeout(100);
    try {
        b.Execute(QStringLiteral("insert into t values (2)"));
        QFAIL("wrote past another connection's lock");
    } catch (const DbError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("锁定")), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral("locked.db")), qPrintable(e.message()));
    }
    a.CommitTrans();
    b.Execute(QStringLiteral("insert into t values (2)")); // nothing was left half-done
    auto rs = b.OpenRecordset(QStringLiteral("select count(*) from t"));
    QCOMPARE(rs->FieldValue(0).toInt(), 2);
}

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
