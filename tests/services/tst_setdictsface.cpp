#include "ServiceDatabase.h"

#include "model/clsHrSysSetDict.h"
#include "services/Sql.h"
#include "services/clsHrSysSetDictsFace.h"

#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::ServiceDatabase;

namespace {

clsHrSysSetDict sampleSet(const QString &code)
{
    clsHrSysSetDict s;
    s.setTableCode(code);
    s.setTableName(u"测试信息集"_s);
    s.setDescription(u"说明文字"_s);
    s.setTableGroup(u"9"_s);
    s.setTableClass(u"2"_s);
    s.setCodeLen(7);
    s.setMultiLevel(u"1"_s);
    s.setCodeFormat(u"2-2-2"_s);
    s.setTableType(u"3"_s);
    s.setCycleType(u"4"_s);
    s.setBusinessFlag(u"5"_s);
    s.setFunctionFlag(u"6"_s);
    s.setSFlag(u"1"_s);
    s.setParentTable(u"hr_hi_person"_s);
    s.setCFlag(u"1"_s);
    s.setDFlag(u"0"_s);
    s.setShowOrder(u"42"_s);
    s.setDisplayItem(u"cName"_s);
    s.setMainKey(u"cPsn_Num"_s);
    s.setDisplay(1);
    s.setMemo(u"备注"_s);
    return s;
}

const QString setColumns = u"cTableCode, vTableName, vdescription, iTableGroup, iTableClass, "
                           "icodeLen, bMultiLevel, vCodeFormat, iTableType, icycleType, "
                           "iBusinessFlag, iFunctionScope, bsysFlag, vParentTable, bChildFlag, "
                           "bdelFlag, ishowOrder, vdisplayItem, vMainKey, bDisplay, vMemo"_s;

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
    void createTableReplacesExistingTable();
    void dropTable();
    void dropTableLetsErrorsThrough();
    void addWritesDictionaryAndCatalogues_data();
    void addWritesDictionaryAndCatalogues();
    void modifyRewritesOnlyItsColumns_data();
    void modifyRewritesOnlyItsColumns();
    void modifyWithBlankCodeChangesNothing();
    void modifyDelFlagKeepsRowDropsMemberships();
    void deleteRemovesRowsButNotTableOrItems();
    void blankKeysAreRefused();
    void failedAddLeavesTransactionToCaller();
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
    QTest::newRow("person set node") << u"CR1^HR_OLD^x"_s << person;
    QTest::newRow("lower-case department")
        << u"r2"_s << QStringList{pk, u"cdepcode varchar(12) 1 - 0"_s} + tail;
    QTest::newRow("duty") << u"CR3^HR_OLD"_s
                          << QStringList{pk, u"cdutycode varchar(20) 1 - 0"_s} + tail;
    QTest::newRow("job") << u"R4"_s << QStringList{pk, u"cjobcode varchar(20) 1 - 0"_s} + tail;
    QTest::newRow("other") << u"R9"_s << QStringList{pk};
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

void TestSetDictsFace::createTableReplacesExistingTable()
{
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    QVERIFY(face.CreateTable(u"HR_NEW"_s, u"R9"_s));
    sdb.exec(u"insert into HR_NEW (PK_HR_NEW) values ('a')"_s);

    QVERIFY2(face.CreateTable(u"HR_NEW"_s, u"R2"_s), qPrintable(face.lastError()));
    QCOMPARE(sdb.count(u"select count(*) from HR_NEW"_s), 0);
    QVERIFY(sdb.db().columns(u"HR_NEW"_s).contains(u"cdepcode"_s));

    // The blastflag default holds on the new table.
    sdb.exec(u"insert into HR_NEW (PK_HR_NEW, cDepCode) values ('b', '01')"_s);
    QCOMPARE(sdb.count(u"select blastflag from HR_NEW"_s), 1);
}

void TestSetDictsFace::dropTable()
{
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    QVERIFY(!sdb.db().tableExists(u"HR_NONE"_s));
    QVERIFY(face.DropTable(u"HR_NONE"_s));

    QVERIFY(face.CreateTable(u"HR_NEW"_s, u"R1"_s));
    QVERIFY(face.DropTable(u"HR_NEW"_s));
    QVERIFY(!sdb.db().tableExists(u"HR_NEW"_s));
}

void TestSetDictsFace::dropTableLetsErrorsThrough()
{
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    QVERIFY(face.CreateTable(u"HR_NEW"_s, u"R9"_s));
    // A name that is no identifier never reaches the statement; the error reaches the caller.
    QVERIFY_THROWS_EXCEPTION(db::DbError, face.DropTable(u"HR_NEW; drop table hr_sys_setdict"_s));
    QVERIFY(sdb.db().tableExists(u"HR_NEW"_s));
    QVERIFY(sdb.db().tableExists(u"hr_sys_setdict"_s));

    // Without a connection the database error reaches the caller too.
    Defs::instance().connection.reset();
    QVERIFY_THROWS_EXCEPTION(db::DbError, face.DropTable(u"HR_NEW"_s));
}

void TestSetDictsFace::addWritesDictionaryAndCatalogues_data()
{
    QTest::addColumn<QString>("tableType");
    QTest::addColumn<bool>("writeBusObject");
    QTest::addColumn<int>("display");
    QTest::addColumn<QStringList>("busObject"); // cBusObName iAuthType bAuthControl cSub_ID

    QTest::newRow("displayed set")
        << u"1"_s << true << 1 << QStringList{u"测试信息集"_s, u"1"_s, u"1"_s, u"HM"_s};
    QTest::newRow("hidden set") << u"2"_s << true << 0
                                << QStringList{u"测试信息集"_s, u"0"_s, u"0"_s, u"HM"_s};
    QTest::newRow("table type 5") << u"5"_s << true << 1
                                  << QStringList{u"测试信息集"_s, u"0"_s, u"0"_s, u"HM"_s};
    QTest::newRow("type 5 only when exact")
        << u" 5"_s << true << 1 << QStringList{u"测试信息集"_s, u"1"_s, u"1"_s, u"HM"_s};
    QTest::newRow("no business object") << u"1"_s << false << 1 << QStringList{};
}

void TestSetDictsFace::addWritesDictionaryAndCatalogues()
{
    QFETCH(QString, tableType);
    QFETCH(bool, writeBusObject);
    QFETCH(int, display);
    QFETCH(QStringList, busObject);
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    clsHrSysSetDict s = sampleSet(u"HR_NEW"_s);
    s.setDisplay(qint16(display));

    QVERIFY2(face.Add(s, tableType, writeBusObject), qPrintable(face.lastError()));

    QCOMPARE(setRow(sdb, u"HR_NEW"_s), (QStringList{u"HR_NEW"_s,   u"测试信息集"_s,
                                                    u"说明文字"_s, u"9"_s,
                                                    u"2"_s,        u"7"_s,
                                                    u"1"_s,        u"2-2-2"_s,
                                                    u"3"_s,        u"4"_s,
                                                    u"5"_s,        u"6"_s,
                                                    u"1"_s,        u"hr_hi_person"_s,
                                                    u"1"_s,        u"0"_s,
                                                    u"42"_s,       u"cName"_s,
                                                    u"cPsn_Num"_s, QString::number(display),
                                                    u"备注"_s}));
    QCOMPARE(sdb.texts(u"select Systemid, Tabledefine, Tabletype, SystemName from Rpt_GRPDEF "
                       "where Tablename='HR_NEW'"_s),
             (QStringList{u"HM"_s, u"测试信息集"_s, u"9"_s, u"人事信息管理"_s}));
    QCOMPARE(sdb.texts(u"select cBusObName, iAuthType, bAuthControl, cSub_ID from AA_BusObject "
                       "where cBusObId='HR_NEW'"_s),
             busObject);
    // Add never touches the physical table.
    QVERIFY(!sdb.db().tableExists(u"HR_NEW"_s));
}

void TestSetDictsFace::modifyRewritesOnlyItsColumns_data()
{
    QTest::addColumn<QString>("tableType");
    QTest::addColumn<bool>("xxj");
    QTest::addColumn<int>("display");
    QTest::addColumn<QStringList>("busObject");

    // The set was added displayed: authorisation 1 and 1.
    QTest::newRow("business object follows Display")
        << u"1"_s << true << 0 << QStringList{u"改名"_s, u"0"_s, u"0"_s};
    QTest::newRow("still displayed")
        << u"1"_s << true << 1 << QStringList{u"改名"_s, u"1"_s, u"1"_s};
    QTest::newRow("table type 5") << u"5"_s << true << 1 << QStringList{u"改名"_s, u"0"_s, u"0"_s};
    QTest::newRow("business object untouched")
        << u"1"_s << false << 0 << QStringList{u"测试信息集"_s, u"1"_s, u"1"_s};
}

void TestSetDictsFace::modifyRewritesOnlyItsColumns()
{
    QFETCH(QString, tableType);
    QFETCH(bool, xxj);
    QFETCH(int, display);
    QFETCH(QStringList, busObject);
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    QVERIFY(face.Add(sampleSet(u"HR_NEW"_s), u"1"_s, true));
    // Rpt_GRPDEF is updated whatever system the row belongs to.
    sdb.exec(u"insert into Rpt_GRPDEF (Systemid, Tablename, Tabledefine, Tabletype) "
             "values ('GL', 'HR_NEW', 'x', '0')"_s);

    clsHrSysSetDict changed;
    changed.setTableCode(u"HR_NEW"_s);
    changed.setTableName(u"改名"_s);
    changed.setDescription(u"新说明"_s);
    changed.setTableGroup(u"1"_s);
    changed.setMultiLevel(u"0"_s);
    changed.setParentTable(u"hr_hi_other"_s);
    changed.setFunctionFlag(u"8"_s);
    changed.setTableType(u"7"_s);
    changed.setTableClass(u"1"_s);
    changed.setSFlag(u"0"_s);
    changed.setCycleType(u"2"_s);
    changed.setShowOrder(u"5"_s);
    changed.setDisplay(qint16(display));
    changed.setMemo(u"新备注"_s);
    // Not written by Modify:
    changed.setCodeLen(99);
    changed.setCodeFormat(u"9"_s);
    changed.setBusinessFlag(u"9"_s);
    changed.setCFlag(u"0"_s);
    changed.setDFlag(u"1"_s);
    changed.setDisplayItem(u"other"_s);
    changed.setMainKey(u"other"_s);

    QVERIFY2(face.Modify(changed, tableType, xxj), qPrintable(face.lastError()));

    QCOMPARE(setRow(sdb, u"HR_NEW"_s),
             (QStringList{u"HR_NEW"_s, u"改名"_s,        u"新说明"_s,   u"9"_s,
                          u"1"_s,      u"7"_s,           u"0"_s,        u"2-2-2"_s,
                          u"7"_s,      u"2"_s,           u"5"_s,        u"8"_s,
                          u"0"_s,      u"hr_hi_other"_s, u"1"_s,        u"0"_s,
                          u"5"_s,      u"cName"_s,       u"cPsn_Num"_s, QString::number(display),
                          u"新备注"_s}));
    QCOMPARE(sdb.count(u"select count(*) from Rpt_GRPDEF where Tablename='HR_NEW' "
                       "and Tabledefine='改名' and Tabletype='1'"_s),
             2);
    QCOMPARE(sdb.texts(u"select cBusObName, iAuthType, bAuthControl from AA_BusObject "
                       "where cBusObId='HR_NEW'"_s),
             busObject);
}

void TestSetDictsFace::modifyWithBlankCodeChangesNothing()
{
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    clsHrSysSetDict s = sampleSet(u"   "_s);
    const int before = sdb.totalChanges();
    QVERIFY(!face.Modify(s, u"1"_s, true));
    QCOMPARE(sdb.totalChanges(), before);
}

void TestSetDictsFace::modifyDelFlagKeepsRowDropsMemberships()
{
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    QVERIFY(face.Add(sampleSet(u"HR_NEW"_s), u"1"_s, true));
    QVERIFY(face.Add(sampleSet(u"HR_KEEP"_s), u"1"_s, true));
    sdb.exec(u"insert into hr_sys_CategoriesMember (cid, ctablecode, itablegroup) values "
             "('BZ001', 'HR_NEW', 9), ('CJ002', 'HR_NEW', 9), ('BZ001', 'HR_KEEP', 9)"_s);

    QVERIFY2(face.ModifyDelFlag(u"HR_NEW"_s), qPrintable(face.lastError()));

    QCOMPARE(sdb.count(u"select bdelFlag from hr_sys_setdict where cTableCode='HR_NEW'"_s), 1);
    QCOMPARE(sdb.count(u"select bdelFlag from hr_sys_setdict where cTableCode='HR_KEEP'"_s), 0);
    QCOMPARE(sdb.count(u"select count(*) from hr_sys_CategoriesMember where ctablecode='HR_NEW'"_s),
             0);
    QCOMPARE(
        sdb.count(u"select count(*) from hr_sys_CategoriesMember where ctablecode='HR_KEEP'"_s), 1);
    QCOMPARE(sdb.count(u"select count(*) from Rpt_GRPDEF where Tablename='HR_NEW'"_s), 1);
}

void TestSetDictsFace::deleteRemovesRowsButNotTableOrItems()
{
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    QVERIFY(face.Add(sampleSet(u"HR_NEW"_s), u"1"_s, true));
    QVERIFY(face.Add(sampleSet(u"HR_KEEP"_s), u"1"_s, true));
    QVERIFY(face.CreateTable(u"HR_NEW"_s, u"R1"_s));
    sdb.exec(u"insert into hr_sys_itemdict (cTableCode, cItemCode) values ('HR_NEW', 'cName')"_s);
    sdb.exec(u"insert into hr_sys_CategoriesMember (cid, ctablecode, itablegroup) values "
             "('BZ001', 'HR_NEW', 9), ('BZ001', 'HR_KEEP', 9)"_s);
    // Catalogue rows of other systems stay.
    sdb.exec(u"insert into Rpt_GRPDEF (Systemid, Tablename) values ('GL', 'HR_NEW')"_s);
    sdb.exec(u"update AA_BusObject set cSub_ID='GL' where cBusObId='HR_KEEP'"_s);

    QVERIFY2(face.Delete(u"HR_NEW"_s), qPrintable(face.lastError()));

    QCOMPARE(sdb.count(u"select count(*) from hr_sys_setdict where cTableCode='HR_NEW'"_s), 0);
    QCOMPARE(sdb.texts(u"select Systemid from Rpt_GRPDEF where Tablename='HR_NEW'"_s),
             QStringList{u"GL"_s});
    QCOMPARE(sdb.count(u"select count(*) from AA_BusObject where cBusObId='HR_NEW'"_s), 0);
    QCOMPARE(sdb.count(u"select count(*) from hr_sys_CategoriesMember where ctablecode='HR_NEW'"_s),
             0);
    QCOMPARE(sdb.count(u"select count(*) from hr_sys_itemdict where cTableCode='HR_NEW'"_s), 1);
    QVERIFY(sdb.db().tableExists(u"HR_NEW"_s));
    // The other set is untouched.
    QCOMPARE(sdb.count(u"select count(*) from hr_sys_setdict where cTableCode='HR_KEEP'"_s), 1);
    QCOMPARE(
        sdb.count(u"select count(*) from hr_sys_CategoriesMember where ctablecode='HR_KEEP'"_s), 1);

    // A business object of another system is not removed.
    QVERIFY(face.Delete(u"HR_KEEP"_s));
    QCOMPARE(sdb.count(u"select count(*) from AA_BusObject where cBusObId='HR_KEEP'"_s), 1);
}

void TestSetDictsFace::blankKeysAreRefused()
{
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    QVERIFY(face.Add(sampleSet(u"HR_NEW"_s), u"1"_s, true));
    const int before = sdb.totalChanges();
    QVERIFY(!face.ModifyDelFlag(u"  "_s));
    QVERIFY(!face.Delete(QString()));
    QVERIFY(!face.lastError().isEmpty());
    QCOMPARE(sdb.totalChanges(), before);
}

void TestSetDictsFace::failedAddLeavesTransactionToCaller()
{
    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    // A report catalogue row already there makes the second statement of Add fail.
    sdb.exec(u"insert into Rpt_GRPDEF (Systemid, Tablename) values ('HM', 'HR_NEW')"_s);

    sdb.conn().BeginTrans();
    QVERIFY(!face.Add(sampleSet(u"HR_NEW"_s), u"1"_s, true));
    QVERIFY(!face.lastError().isEmpty());
    // The dictionary insert before the failure is not undone by the service...
    QCOMPARE(sdb.count(u"select count(*) from hr_sys_setdict where cTableCode='HR_NEW'"_s), 1);
    QCOMPARE(sdb.count(u"select count(*) from AA_BusObject where cBusObId='HR_NEW'"_s), 0);
    // ...but the caller's rollback is.
    sdb.conn().RollbackTrans();
    QCOMPARE(sdb.count(u"select count(*) from hr_sys_setdict where cTableCode='HR_NEW'"_s), 0);
}

int runSetDictsFaceTests(int argc, char **argv)
{
    TestSetDictsFace t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_setdictsface.moc"
