#include "ServiceDatabase.h"

#include "model/clsHrSysSetDict.h"
#include "services/Sql.h"
#include "services/clsHrSysSetDictsFace.h"

#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::ServiceDatabase;
using vorlane::test::setFrom;

namespace {

QString sampleValues(const QString &code)
{
    return u"%1 测试信息集 说明文字 9 2 7 1 2-2-2 3 4 5 6 1 hr_hi_person 1 0 42 cName cPsn_Num 1 备注"_s
        .arg(code);
}

} // namespace

class TestSetDictsFace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createTableByToken_data();
    void createTableByToken();
    void replaceAndDropTable();
    void refusalsAndFailuresLeaveTheDatabaseToTheCaller();
};

void TestSetDictsFace::createTableByToken_data()
{
    QTest::addColumn<QString>("nodeKey");
    QTest::addColumn<QStringList>("columns");

    // name, declared type, not null, default, position in the primary key
    const QStringList tail{u"irecordid int 0 - 0"_s,
                           u"blastflag bit 1 1 0"_s,
                           u"vstatus1 nvarchar(50) 0 - 0"_s,
                           u"nstatus2 numeric 0 - 0"_s};
    const QString pk = u"pk_hr_new zquid 1 - 1"_s;
    const QStringList person = QStringList{pk, u"cpsn_num varchar(10) 1 - 0"_s} + tail;
    QTest::newRow("person group node") << u"R1"_s << person;
    QTest::newRow("caret in second place") << u"C^R1^x"_s << QStringList{pk};
    QTest::newRow("empty key") << QString() << QStringList{pk};
}

void TestSetDictsFace::createTableByToken()
{
    QFETCH(QString, nodeKey);
    QFETCH(QStringList, columns);
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;

    QVERIFY2(face.CreateTable(u"HR_NEW"_s, nodeKey), qPrintable(face.lastError()));
    QCOMPARE(sdb.tableInfo(u"HR_NEW"_s), columns);
}

void TestSetDictsFace::replaceAndDropTable()
{
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    QVERIFY(face.CreateTable(u"HR_NEW"_s, u"R9"_s));
    sdb.exec(u"insert into HR_NEW (PK_HR_NEW) values ('0000000A-0000-4000-8000-000000000001')"_s);

    QVERIFY2(face.CreateTable(u"HR_NEW"_s, u"R2"_s), qPrintable(face.lastError()));
    QCOMPARE(sdb.count(u"select count(*) from HR_NEW"_s), 0);
    // The blastflag default holds on the new table.
    sdb.exec(
        u"insert into HR_NEW (PK_HR_NEW, cDepCode) values ('0000000B-0000-4000-8000-000000000002', '01')"_s);
    QCOMPARE(sdb.count(u"select blastflag from HR_NEW"_s), 1);

    // A name that is no identifier never reaches the statement; the error reaches the caller.
    QVERIFY_THROWS_EXCEPTION(db::DbError, face.DropTable(u"HR_NEW; drop table hr_sys_setdict"_s));
    QVERIFY(sdb.db().tableExists(u"HR_NEW"_s) && sdb.db().tableExists(u"hr_sys_setdict"_s));
    QVERIFY(face.DropTable(u"HR_NEW"_s));
    QVERIFY(!sdb.db().tableExists(u"HR_NEW"_s));
    QVERIFY(face.DropTable(u"HR_NEW"_s)); // a missing table is no error

    // Without a connection the database error reaches the caller too.
    Defs::instance().connection.reset();
    QVERIFY_THROWS_EXCEPTION(db::DbError, face.DropTable(u"HR_NEW"_s));
}

void TestSetDictsFace::refusalsAndFailuresLeaveTheDatabaseToTheCaller()
{
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    QVERIFY(face.Add(setFrom(sampleValues(u"HR_NEW"_s)), u"1"_s, true));
    const auto before = sdb.totalChanges();
    QVERIFY(!face.ModifyDelFlag(u"  "_s));
    QVERIFY(!face.lastError().isEmpty());
    QCOMPARE(sdb.totalChanges(), before);

    // A report catalogue row already there makes the second statement of Add fail.
    sdb.exec(u"insert into Rpt_GRPDEF (Systemid, Tablename) values ('HM', 'HR_ADD')"_s);
    sdb.conn().BeginTrans();
    QVERIFY(!face.Add(setFrom(sampleValues(u"HR_ADD"_s)), u"1"_s, true));
    QVERIFY(!face.lastError().isEmpty());
    // The dictionary insert before the failure is not undone by the service...
    QCOMPARE(sdb.rows(u"hr_sys_setdict"_s, u"cTableCode='HR_ADD'"_s), 1);
    QCOMPARE(sdb.rows(u"AA_BusObject"_s, u"cBusObId='HR_ADD'"_s), 0);
    // ...but the caller's rollback is.
    sdb.conn().RollbackTrans();
    QCOMPARE(sdb.rows(u"hr_sys_setdict"_s, u"cTableCode='HR_ADD'"_s), 0);
}

int runSetDictsFaceTests(int argc, char **argv)
{
    TestSetDictsFace t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_setdictsface.moc"
