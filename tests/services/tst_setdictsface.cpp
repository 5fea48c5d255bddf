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

// The columns of hr_sys_setdict in the order setFrom() takes them.
const QString setColumns = u"cTableCode, vTableName, vdescription, iTableGroup, iTableClass, "
                           "icodeLen, bMultiLevel, vCodeFormat, iTableType, icycleType, "
                           "iBusinessFlag, iFunctionScope, bsysFlag, vParentTable, bChildFlag, "
                           "bdelFlag, ishowOrder, vdisplayItem, vMainKey, bDisplay, vMemo"_s;

QString sampleValues(const QString &code, int display = 1)
{
    return u"%1 测试信息集 说明文字 9 2 7 1 2-2-2 3 4 5 6 1 hr_hi_person 1 0 42 cName cPsn_Num %2 备注"_s
        .arg(code)
        .arg(display);
}

QStringList setRow(ServiceDatabase &sdb, const QString &code)
{
    return sdb.texts(u"select "_s + setColumns + u" from hr_sys_setdict where cTableCode='"_s + code
                     + u"'"_s);
}

} // namespace

class TestSetDictsFace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createTableByToken_data();
    void createTableByToken();
    void replaceAndDropTable();
    void addAndModifyWriteDictionaryAndCatalogues_data();
    void addAndModifyWriteDictionaryAndCatalogues();
    void delFlagAndDeleteTouchOnlyTheirRows();
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
    QTest::newRow("lower-case department")
        << u"r2"_s << QStringList{pk, u"cdepcode varchar(12) 1 - 0"_s} + tail;
    QTest::newRow("attendance is key-only") << u"R5"_s << QStringList{pk};
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
    sdb.exec(u"insert into HR_NEW (PK_HR_NEW, cDepCode) values ('0000000B-0000-4000-8000-000000000002', '01')"_s);
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

void TestSetDictsFace::addAndModifyWriteDictionaryAndCatalogues_data()
{
    QTest::addColumn<bool>("modify");
    QTest::addColumn<QString>("tableType");
    QTest::addColumn<bool>("busObjectFlag"); // Add: write it; Modify: rewrite it
    QTest::addColumn<int>("display");
    QTest::addColumn<QString>("busObject"); // cBusObName iAuthType bAuthControl cSub_ID

    QTest::newRow("add displayed") << false << u"1"_s << true << 1 << u"测试信息集 1 1 HM"_s;
    QTest::newRow("add hidden") << false << u"2"_s << true << 0 << u"测试信息集 0 0 HM"_s;
    QTest::newRow("add type 5 only when exact")
        << false << u" 5"_s << true << 1 << u"测试信息集 1 1 HM"_s;
    // Modify starts from the displayed set: authorisation 1 and 1.
    QTest::newRow("modify to hidden") << true << u"1"_s << true << 0 << u"改名 0 0 HM"_s;
    QTest::newRow("modify, business object untouched")
        << true << u"1"_s << false << 0 << u"测试信息集 1 1 HM"_s;
}

void TestSetDictsFace::addAndModifyWriteDictionaryAndCatalogues()
{
    QFETCH(bool, modify);
    QFETCH(QString, tableType);
    QFETCH(bool, busObjectFlag);
    QFETCH(int, display);
    QFETCH(QString, busObject);
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    QString values = sampleValues(u"HR_NEW"_s, display);
    QString group = u"HM 测试信息集 9 人事信息管理"_s;
    if (!modify) {
        QVERIFY2(face.Add(setFrom(values), tableType, busObjectFlag), qPrintable(face.lastError()));
        // Add never touches the physical table.
        QVERIFY(!sdb.db().tableExists(u"HR_NEW"_s));
    } else {
        QVERIFY(face.Add(setFrom(sampleValues(u"HR_NEW"_s)), u"1"_s, true));
        // Rpt_GRPDEF is updated whatever system the row belongs to.
        sdb.exec(u"insert into Rpt_GRPDEF (Systemid, Tablename) values ('GL', 'HR_NEW')"_s);
        // Modify leaves iTableGroup (it goes to Rpt_GRPDEF only), icodeLen, vCodeFormat,
        // iBusinessFlag, bChildFlag, bdelFlag, vdisplayItem and vMainKey as they are.
        const QString changed = u"HR_NEW 改名 新说明 1 1 99 0 9 7 2 9 8 0 hr_hi_other 0 1 5 other "
                                "other %1 新备注"_s.arg(display);
        QVERIFY2(face.Modify(setFrom(changed), tableType, busObjectFlag),
                 qPrintable(face.lastError()));
        values = u"HR_NEW 改名 新说明 9 1 7 0 2-2-2 7 2 5 8 0 hr_hi_other 1 0 5 cName cPsn_Num %1 "
                 "新备注"_s.arg(display);
        group = u"HM 改名 1 人事信息管理"_s;
        QCOMPARE(sdb.rows(u"Rpt_GRPDEF"_s, u"Tabledefine='改名' and Tabletype='1'"_s), 2);
    }

    QCOMPARE(setRow(sdb, u"HR_NEW"_s), values.split(u' '));
    QCOMPARE(sdb.texts(u"select Systemid, Tabledefine, Tabletype, SystemName from Rpt_GRPDEF "
                       "where Tablename='HR_NEW' and Systemid='HM'"_s),
             group.split(u' '));
    QCOMPARE(sdb.texts(u"select cBusObName, iAuthType, bAuthControl, cSub_ID from AA_BusObject "
                       "where cBusObId='HR_NEW'"_s),
             busObject.split(u' ', Qt::SkipEmptyParts));
}

void TestSetDictsFace::delFlagAndDeleteTouchOnlyTheirRows()
{
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    QVERIFY(face.Add(setFrom(sampleValues(u"HR_NEW"_s)), u"1"_s, true));
    QVERIFY(face.Add(setFrom(sampleValues(u"HR_KEEP"_s)), u"1"_s, true));
    QVERIFY(face.CreateTable(u"HR_NEW"_s, u"R1"_s));
    const QString members = u"insert into hr_sys_CategoriesMember (cid, ctablecode, itablegroup) "
                            "values ('BZ001', 'HR_NEW', 9), ('CJ002', 'HR_NEW', 9)"_s;
    sdb.exec(members + u", ('BZ001', 'HR_KEEP', 9)"_s);

    // The deletion flag keeps the set's rows but drops its memberships.
    QVERIFY2(face.ModifyDelFlag(u"HR_NEW"_s), qPrintable(face.lastError()));
    QCOMPARE(sdb.count(u"select bdelFlag from hr_sys_setdict where cTableCode='HR_NEW'"_s), 1);
    QCOMPARE(sdb.count(u"select bdelFlag from hr_sys_setdict where cTableCode='HR_KEEP'"_s), 0);
    QCOMPARE(sdb.rows(u"hr_sys_CategoriesMember"_s, u"ctablecode='HR_NEW'"_s), 0);
    QCOMPARE(sdb.rows(u"Rpt_GRPDEF"_s, u"Tablename='HR_NEW'"_s), 1);

    // Delete removes the set's rows but neither its table nor its items; catalogue rows of
    // other systems stay.
    sdb.exec(members);
    sdb.exec(u"insert into hr_sys_itemdict (cTableCode, cItemCode) values ('HR_NEW', 'cName')"_s);
    sdb.exec(u"insert into Rpt_GRPDEF (Systemid, Tablename) values ('GL', 'HR_NEW')"_s);
    sdb.exec(u"update AA_BusObject set cSub_ID='GL' where cBusObId='HR_KEEP'"_s);
    QVERIFY2(face.Delete(u"HR_NEW"_s), qPrintable(face.lastError()));
    QCOMPARE(sdb.rows(u"hr_sys_setdict"_s, u"cTableCode='HR_NEW'"_s), 0);
    QCOMPARE(sdb.texts(u"select Systemid from Rpt_GRPDEF where Tablename='HR_NEW'"_s),
             QStringList{u"GL"_s});
    QCOMPARE(sdb.rows(u"AA_BusObject"_s, u"cBusObId='HR_NEW'"_s), 0);
    QCOMPARE(sdb.rows(u"hr_sys_CategoriesMember"_s, u"ctablecode='HR_NEW'"_s), 0);
    QCOMPARE(sdb.rows(u"hr_sys_itemdict"_s, u"cTableCode='HR_NEW'"_s), 1);
    QVERIFY(sdb.db().tableExists(u"HR_NEW"_s));
    QCOMPARE(sdb.rows(u"hr_sys_setdict"_s, u"cTableCode='HR_KEEP'"_s), 1);
    QCOMPARE(sdb.rows(u"hr_sys_CategoriesMember"_s, u"ctablecode='HR_KEEP'"_s), 1);

    QVERIFY(face.Delete(u"HR_KEEP"_s));
    QCOMPARE(sdb.rows(u"AA_BusObject"_s, u"cBusObId='HR_KEEP'"_s), 1);
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
