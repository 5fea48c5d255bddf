#include "ServiceDatabase.h"

#include "model/clsHrSysSetDict.h"
#include "services/clsHrSysSetDictsFace.h"

#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::ServiceDatabase;

class TestSetDictsFace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createPersonTable();
    void replaceAndDropTable();
    void blankCodeIsRefused();
};

// The statements of the other groups' tables are the statement tests' rows.
void TestSetDictsFace::createPersonTable()
{
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    QVERIFY2(face.CreateTable(u"HR_NEW"_s, u"R1"_s), qPrintable(face.lastError()));
    // name, declared type, not null, default, position in the primary key
    QCOMPARE(
        sdb.tableInfo(u"HR_NEW"_s),
        u"pk_hr_new zquid 1 - 1|cpsn_num varchar(10) 1 - 0|irecordid int 0 - 0|"
        "blastflag bit 1 1 0|vstatus1 nvarchar(50) 0 - 0|nstatus2 numeric 0 - 0"_s.split(u'|'));
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

void TestSetDictsFace::blankCodeIsRefused()
{
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    const auto before = sdb.totalChanges();
    QVERIFY(!face.ModifyDelFlag(u"  "_s));
    QVERIFY(!face.lastError().isEmpty());
    QCOMPARE(sdb.totalChanges(), before);
}

int runSetDictsFaceTests(int argc, char **argv)
{
    TestSetDictsFace t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_setdictsface.moc"
