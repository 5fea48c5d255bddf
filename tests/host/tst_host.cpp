#include "TestDatabase.h"

#include "db/DbError.h"
#include "db/FieldType.h"
#include "host/DemoAccount.h"
#include "host/HostLogin.h"
#include "host/HostRights.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>
#include <QSysInfo>
#include <QTest>

#include <cstdio>

using namespace vorlane;
using namespace Qt::StringLiterals;

namespace {

const char holderEnv[] = "VORLANE_TST_HOST_HOLDER";

// Counts of every table of a database, by lower-cased name.
QMap<QString, qlonglong> tableCounts(db::Connection &conn)
{
    QStringList tables;
    auto rs = conn.engine().QueryNative(
        u"select name from sqlite_master where type='table' order by name"_s);
    for (; !rs->Eof(); rs->MoveNext())
        tables << rs->FieldValue(0).toString();
    QMap<QString, qlonglong> counts;
    for (const QString &t : tables) {
        auto c = conn.engine().QueryNative(u"select count(*) from \"%1\""_s.arg(t));
        counts.insert(t.toLower(), c->FieldValue(0).toLongLong());
    }
    return counts;
}

QList<QVariantList> rows(db::Connection &conn, const QString &nativeSql)
{
    QList<QVariantList> out;
    auto rs = conn.engine().QueryNative(nativeSql);
    for (; !rs->Eof(); rs->MoveNext()) {
        QVariantList row;
        for (int i = 0; i < rs->FieldCount(); ++i)
            row << rs->FieldValue(i);
        out << row;
    }
    return out;
}

QSet<QString> lowered(const QStringList &names)
{
    QSet<QString> s;
    for (const QString &n : names)
        s.insert(n.toLower());
    return s;
}

std::unique_ptr<host::HostLogin> signIn(const test::TestDatabase &db, const QString &op)
{
    return host::HostLogin::signIn(db.connectionString(), op, QDate(2025, 3, 31), u"/opt/vx"_s);
}

// Runs in a child process: takes a task and keeps it until the parent kills the process.
int runHolder()
{
    const QStringList args = qEnvironmentVariable(holderEnv).split(u'|');
    auto login = host::HostLogin::signIn(args.value(0), args.value(1));
    const bool held = login->RequestTask(args.value(2), true, 0);
    std::printf("%s\n", held ? "HELD" : qPrintable(u"REFUSED "_s + login->LastErrorText()));
    std::fflush(stdout);
    char buffer[16];
    while (std::fgets(buffer, sizeof buffer, stdin)) {
    }
    return 0;
}

} // namespace

class TstHost : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void creatingTwiceChangesNothing();
    void refusesAnUnknownSchemaVersion();
    void failedCreationLeavesTheDatabaseAsItWas();
    void tablesHaveTheColumnsOfTheStatements_data();
    void tablesHaveTheColumnsOfTheStatements();
    void declaredTypesGiveTheFieldTypes_data();
    void declaredTypesGiveTheFieldTypes();
    void codesAndNamesCompareWithoutCase();
    void codeTablesAreConsistent_data();
    void codeTablesAreConsistent();
    void nationalStandardsAreComplete();
    void informationSetsMatchTheirTables();
    void catalogueRowsAreRegistered();
    void referencesPointToReferableSets();
    void templatesCopyIntoTheItemDictionary();
    void dataTypesCoverTheIds();

    void signInReadsOperatorAndAccount();
    void signInRefusesUnknownAndDisabledOperators();
    void functionNames_data();
    void functionNames();
    void refusalWithoutRightNamesOperatorAndFunction();
    void grantCoversCodesBelowIt();
    void grantRejectsUnknownOperatorOrFunction();
    void lockIsExclusiveAcrossConnections();
    void menuNodesAreNotExclusive();
    void closingASessionReleasesItsLocks();
    void staleLockOfAnEndedProcessIsTakenOver();
    void lockOfAReusedProcessIdIsTakenOver();
    void lockOfAnotherHostIsNotTakenOver();
    void lockOfAKilledProcessIsTakenOver();
};

void TstHost::creatingTwiceChangesNothing()
{
    test::TestDatabase db(false);
    host::createDemoAccount(db.conn());
    const auto first = tableCounts(db.conn());
    QVERIFY(first.size() > 30);
    QVERIFY(first.value(u"hr_sys_setdict"_s) > 0);
    QVERIFY(first.value(u"hr_ct006"_s) > 3000);

    host::createDemoAccount(db.conn());
    QCOMPARE(tableCounts(db.conn()), first);

    // A second connection (as another process would open) sees a complete database too.
    auto other = db.openAnother();
    host::createDemoAccount(*other);
    QCOMPARE(tableCounts(db.conn()), first);
}

void TstHost::refusesAnUnknownSchemaVersion()
{
    test::TestDatabase db;
    db.conn().Execute(u"update Host_Meta set cValue = '99' where cKey = 'SchemaVersion'"_s);
    const auto before = tableCounts(db.conn());
    try {
        host::createDemoAccount(db.conn());
        QFAIL("a database of another schema version was accepted");
    } catch (const db::DbError &e) {
        QVERIFY2(e.message().contains(u"99"_s), qPrintable(e.message()));
    }
    QCOMPARE(tableCounts(db.conn()), before);
}

void TstHost::failedCreationLeavesTheDatabaseAsItWas()
{
    test::TestDatabase db(false);
    // A table of another application in the way of the schema.
    db.conn().engine().ExecuteNative(u"create table hr_sys_tgroup (x int)"_s);
    db.conn().engine().ExecuteNative(u"insert into hr_sys_tgroup values (7)"_s);
    const auto before = tableCounts(db.conn());
    QVERIFY_THROWS_EXCEPTION(db::DbError, host::createDemoAccount(db.conn()));
    QCOMPARE(tableCounts(db.conn()), before);
    QVERIFY(!db.conn().InTransaction());
}

void TstHost::tablesHaveTheColumnsOfTheStatements_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("columns");
    QTest::newRow("hr_sys_setdict")
        << u"hr_sys_setdict"_s
        << (u"cTableCode,vTableName,vdescription,iTableGroup,iTableClass,icodeLen,bMultiLevel,"
            "vcodeFormat,iTableType,icycleType,iBusinessFlag,iFunctionScope,bsysFlag,"
            "vParentTable,bChildFlag,bdelFlag,ishowOrder,vdisplayItem,vmainKey,bDisplay,vMemo"_s)
               .split(u',');
    QTest::newRow("hr_sys_itemdict")
        << u"hr_sys_itemdict"_s
        << (u"cTableCode,citemCode,vitemName,vdescription,iitemType,vReferenceObj,"
            "bLastLevelFlag,iitemLen,iitemDec,bsysFlag,brecordFlag,bnullFlag,vDefault,vFormat,"
            "bdelFlag,ishowOrder,iBusinessFlag,bdefault,bDisplay,vMemo"_s)
               .split(u',');
    QTest::newRow("hr_sys_tgroup")
        << u"hr_sys_tgroup"_s << u"iTableGroup,vDescription,bsysflag,vmemo"_s.split(u',');
    QTest::newRow("hr_sys_datatype")
        << u"hr_sys_datatype"_s
        << u"id,vName,vDescription,vSimpleSpell,vFactType,vmemo"_s.split(u',');
    QTest::newRow("hr_sys_dateformat")
        << u"hr_sys_dateformat"_s << u"id,vDateFormat,vmemo"_s.split(u',');
    QTest::newRow("hr_sys_Function")
        << u"hr_sys_Function"_s << u"FunctionID,FunctionName,Memo"_s.split(u',');
    QTest::newRow("hr_bd_tableclass") << u"hr_bd_tableclass"_s << u"id,name,Memo"_s.split(u',');
    QTest::newRow("hr_bd_fld")
        << u"hr_bd_fld"_s
        << (u"cTable,cItemCode,vItemName,vdescription,iItemType,vReferenceObj,bLastLevelFlag,"
            "iItemLen,iItemDec,bsysFlag,brecordFlag,bnullFlag,vDefault,vFormat,bdelFlag,bdisplay,"
            "ishowOrder,iBusinessFlag,bdefault"_s)
               .split(u',');
    QTest::newRow("hr_bd_utable") << u"hr_bd_utable"_s << u"cTableCode,sMemo"_s.split(u',');
    QTest::newRow("hr_sys_Categories")
        << u"hr_sys_Categories"_s << u"cid,vname,ishoworder"_s.split(u',');
    QTest::newRow("hr_sys_CategoriesMember")
        << u"hr_sys_CategoriesMember"_s << u"cid,ctablecode,itablegroup"_s.split(u',');
    QTest::newRow("hr_bd_vouchertable") << u"hr_bd_vouchertable"_s << QStringList{u"ctablecode"_s};
    QTest::newRow("Rpt_GRPDEF") << u"Rpt_GRPDEF"_s
                                << u"Systemid,Tablename,Tabledefine,Tabletype,SystemName"_s.split(
                                       u',');
    QTest::newRow("Rpt_ItmDEF")
        << u"Rpt_ItmDEF"_s
        << u"FieldName,TableName,TableDef,FieldDef,FieldType,FieldID"_s.split(u',');
    QTest::newRow("AA_BusObject") << u"AA_BusObject"_s
                                  << u"cBusObId,cBusObName,iAuthType,bAuthControl,cSub_ID"_s.split(
                                         u',');
    QTest::newRow("AA_Columndic") << u"AA_Columndic"_s
                                  << u"cKey,cFld,cCaption,iColPos,bMustSel"_s.split(u',');
    QTest::newRow("AA_ColumnAuth") << u"AA_ColumnAuth"_s << u"ckey,cfld"_s.split(u',');
    QTest::newRow("aa_authclass") << u"aa_authclass"_s << QStringList{u"cbusobid"_s};
    QTest::newRow("voucheritems") << u"voucheritems"_s << u"tablename,fieldname"_s.split(u',');
    QTest::newRow("AccInformation") << u"AccInformation"_s << u"cSysId,cname,cValue"_s.split(u',');
    QTest::newRow("Host_Operator")
        << u"Host_Operator"_s << u"cOperatorCode,vOperatorName,bSupervisor"_s.split(u',');
    QTest::newRow("Host_Function")
        << u"Host_Function"_s << u"cFunctionCode,vFunctionName,bExclusive"_s.split(u',');
    QTest::newRow("Host_Right") << u"Host_Right"_s << u"cOperatorCode,cFunctionCode"_s.split(u',');
    QTest::newRow("Host_TaskLock")
        << u"Host_TaskLock"_s
        << u"cFunctionCode,cOperatorCode,cSessionId,cHostName,iPid,cProcessStart,dStartTime"_s
               .split(u',');
}

void TstHost::tablesHaveTheColumnsOfTheStatements()
{
    QFETCH(QString, table);
    QFETCH(QStringList, columns);
    test::TestDatabase db;
    QVERIFY(db.tableExists(table));
    const QSet<QString> declared = lowered(db.columns(table));
    for (const QString &c : columns)
        QVERIFY2(declared.contains(c.toLower()), qPrintable(table + u"."_s + c));

    // Read the way the component reads: a T-SQL select * through the dialect, fields by name.
    auto rs = db.conn().OpenRecordset(u"select * from "_s + table);
    for (const QString &c : columns)
        QVERIFY2(rs->FieldIndex(c) >= 0, qPrintable(table + u"."_s + c));
}

void TstHost::declaredTypesGiveTheFieldTypes_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("type");
    const QString set = u"select * from hr_sys_setdict"_s;
    QTest::newRow("set code") << set << u"ctablecode"_s << int(db::adVarChar);
    QTest::newRow("set name") << set << u"vTableName"_s << int(db::adVarWChar);
    QTest::newRow("set group") << set << u"itablegroup"_s << int(db::adInteger);
    QTest::newRow("set system flag") << set << u"bsysFlag"_s << int(db::adBoolean);
    QTest::newRow("set display") << set << u"bdisplay"_s << int(db::adBoolean);
    const QString item = u"select * from hr_sys_itemdict"_s;
    QTest::newRow("item show order") << item << u"ishowOrder"_s << int(db::adInteger);
    QTest::newRow("item last level") << item << u"bLastLevelFlag"_s << int(db::adBoolean);
    QTest::newRow("group system flag")
        << u"select * from hr_sys_tgroup"_s << u"bsysflag"_s << int(db::adBoolean);
    QTest::newRow("data type id") << u"select * from hr_sys_datatype"_s << u"id"_s
                                  << int(db::adSmallInt);
    QTest::newRow("date format id")
        << u"select * from hr_sys_dateformat"_s << u"id"_s << int(db::adSmallInt);
    const QString code = u"select * from HR_CT003"_s;
    QTest::newRow("code") << code << u"ccodeid"_s << int(db::adVarChar);
    QTest::newRow("code name") << code << u"vdescription"_s << int(db::adVarWChar);
    QTest::newRow("code level") << code << u"ilevels"_s << int(db::adInteger);
    QTest::newRow("code child flag") << code << u"bChildFlag"_s << int(db::adChar);
    QTest::newRow("code hide flag") << code << u"bhideFlag"_s << int(db::adChar);
    QTest::newRow("key column") << u"select * from hr_hi_person"_s << u"PK_hr_hi_person"_s
                                << int(db::adGUID);
    QTest::newRow("latest flag") << u"select * from hr_hi_person"_s << u"blastflag"_s
                                 << int(db::adBoolean);
}

void TstHost::declaredTypesGiveTheFieldTypes()
{
    QFETCH(QString, query);
    QFETCH(QString, column);
    QFETCH(int, type);
    test::TestDatabase db;
    auto rs = db.conn().OpenRecordset(query);
    QVERIFY(!rs->Eof());
    QCOMPARE(rs->Fields(column).Type(), type);
}

void TstHost::codesAndNamesCompareWithoutCase()
{
    test::TestDatabase db;
    QCOMPARE(db.scalar(u"select vTableName from hr_sys_setdict where ctablecode='HR_HI_PERSON'"_s)
                 .toString(),
             u"人员基本信息"_s);
    QCOMPARE(db.scalar(u"select count(*) from hr_sys_itemdict where ctablecode='HR_HI_PERSON' "
                       "and citemcode='CPSN_NAME'"_s)
                 .toInt(),
             1);
    QCOMPARE(
        db.scalar(u"select count(*) from hr_sys_setdict where ctablecode='department'"_s).toInt(),
        1);
    // Keys differing only in letter case collide, as on SQL Server.
    QVERIFY_THROWS_EXCEPTION(
        db::DbError,
        db.conn().Execute(
            u"insert into Rpt_GRPDEF (Systemid, Tablename) values ('hm', 'HR_HI_PERSON')"_s));
}

void TstHost::codeTablesAreConsistent_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("multiLevel");
    QTest::newRow("gender") << u"HR_CT001"_s << false;
    QTest::newRow("ethnic groups") << u"HR_CT002"_s << false;
    QTest::newRow("education") << u"HR_CT003"_s << true;
    QTest::newRow("political status") << u"HR_CT004"_s << false;
    QTest::newRow("marital status") << u"HR_CT005"_s << false;
    QTest::newRow("administrative divisions") << u"HR_CT006"_s << true;
}

void TstHost::codeTablesAreConsistent()
{
    QFETCH(QString, table);
    QFETCH(bool, multiLevel);
    test::TestDatabase db;

    const auto dict = rows(db.conn(),
                           u"select iTableClass, bMultiLevel, bsysFlag from hr_sys_setdict "
                           "where cTableCode = '%1'"_s.arg(table));
    QCOMPARE(dict.size(), 1);
    QCOMPARE(dict[0][0].toInt(), 3);
    QCOMPARE(dict[0][1].toInt(), multiLevel ? 1 : 0);

    QCOMPARE(db.columns(table),
             (u"ccodeid,vdescription,vsimplename,vsimplespell,ilevels,cpcodeid,bsysflag,"
              "bchildflag,bhideflag,vmemo"_s)
                 .split(u','));

    struct Code
    {
        QString parent;
        int level;
        QString childFlag;
    };
    QHash<QString, Code> codes;
    QSet<QString> parents;
    for (const auto &r : rows(db.conn(),
                              u"select ccodeID, cpCodeID, ilevels, bChildFlag, vdescription, "
                              "vsimpleSpell from %1"_s.arg(table))) {
        QVERIFY(!r[4].toString().isEmpty());
        QVERIFY2(!r[5].toString().isEmpty(), qPrintable(r[0].toString()));
        codes.insert(r[0].toString(), {r[1].toString(), r[2].toInt(), r[3].toString()});
        if (!r[1].toString().isEmpty())
            parents.insert(r[1].toString());
    }
    QVERIFY(codes.size() >= 4);
    int deepest = 0;
    QHash<int, qsizetype> lengthOfLevel;
    for (auto it = codes.cbegin(); it != codes.cend(); ++it) {
        const QString &code = it.key();
        const Code &c = it.value();
        deepest = qMax(deepest, c.level);
        // Siblings share one length per level, the rule the archive item editor enforces.
        const qsizetype length = lengthOfLevel.value(c.level, code.size());
        QCOMPARE(code.size(), length);
        lengthOfLevel.insert(c.level, length);
        if (c.parent.isEmpty()) {
            QCOMPARE(c.level, 0);
        } else {
            QVERIFY2(codes.contains(c.parent), qPrintable(code));
            QVERIFY2(code.startsWith(c.parent) && code.size() > c.parent.size(), qPrintable(code));
            QCOMPARE(c.level, codes.value(c.parent).level + 1);
        }
        QCOMPARE(c.childFlag, parents.contains(code) ? u"1"_s : u"0"_s);
    }
    QCOMPARE(deepest > 0, multiLevel);

    // The class's standard columns, registered from the HR_CT template.
    QCOMPARE(db.scalar(u"select count(*) from hr_sys_itemdict where ctablecode='%1'"_s.arg(table))
                 .toInt(),
             db.scalar(u"select count(*) from hr_bd_fld where ctable='HR_CT'"_s).toInt());
}

void TstHost::nationalStandardsAreComplete()
{
    test::TestDatabase db;
    QCOMPARE(db.scalar(u"select vdescription from HR_CT001 where ccodeid='2'"_s).toString(),
             u"女性"_s);
    // 56 ethnic groups numbered 01 to 56.
    const auto ethnic = rows(db.conn(),
                             u"select ccodeID, vdescription from HR_CT002 where ilevels = 0 "
                             "and ccodeID between '01' and '56' order by ccodeID"_s);
    QCOMPARE(ethnic.size(), 56);
    for (int i = 0; i < ethnic.size(); ++i) {
        QCOMPARE(ethnic[i][0].toString(), u"%1"_s.arg(i + 1, 2, 10, QChar(u'0')));
        QVERIFY(ethnic[i][1].toString().endsWith(u"族"_s));
    }
    QCOMPARE(db.scalar(u"select vdescription from HR_CT002 where ccodeid='01'"_s).toString(),
             u"汉族"_s);
    QCOMPARE(db.scalar(u"select vdescription from HR_CT004 where ccodeid='13'"_s).toString(),
             u"群众"_s);
    QCOMPARE(db.scalar(u"select cpCodeID from HR_CT006 where ccodeid='110101'"_s).toString(),
             u"1101"_s);
    QCOMPARE(db.scalar(u"select vsimpleSpell from HR_CT006 where ccodeid='11'"_s).toString(),
             u"BJS"_s);
    // Every person's coded values exist in the code tables they refer to.
    for (const auto &r : rows(db.conn(),
                              u"select i.cItemCode, i.vReferenceObj from hr_sys_itemdict i join "
                              "hr_sys_setdict s on s.cTableCode = i.vReferenceObj where "
                              "i.cTableCode = 'hr_hi_person' and s.iTableClass = 3"_s)) {
        const auto missing = rows(db.conn(),
                                  u"select p.%1 from hr_hi_person p where p.%1 is not null and "
                                  "not exists (select 1 from %2 c where c.ccodeID = p.%1)"_s.arg(
                                      r[0].toString(), r[1].toString()));
        QVERIFY2(missing.isEmpty(), qPrintable(r[0].toString()));
    }
}

void TstHost::informationSetsMatchTheirTables()
{
    test::TestDatabase db;
    const auto sets = rows(db.conn(),
                           u"select cTableCode, iTableGroup from hr_sys_setdict "
                           "where iTableClass <> 3"_s);
    QVERIFY(sets.size() >= 8);
    const QHash<int, QString> keyColumn{
        {1, u"cpsn_num"_s}, {2, u"cdepcode"_s}, {3, u"cdutycode"_s}, {4, u"cjobcode"_s}};
    QSet<int> groupsSeen;
    for (const auto &s : sets) {
        const QString code = s[0].toString();
        const int group = s[1].toInt();
        groupsSeen.insert(group);
        QVERIFY2(db.tableExists(code), qPrintable(code));
        const QStringList columns = db.columns(code);
        QStringList expectedHead{u"pk_"_s + code.toLower()};
        if (keyColumn.contains(group)) {
            expectedHead << keyColumn.value(group) << u"irecordid"_s << u"blastflag"_s
                         << u"vstatus1"_s << u"nstatus2"_s;
        }
        QCOMPARE(columns.mid(0, expectedHead.size()), expectedHead);

        QSet<QString> items;
        for (const auto &r :
             rows(db.conn(),
                  u"select cItemCode from hr_sys_itemdict where cTableCode='%1'"_s.arg(code)))
            items.insert(r[0].toString().toLower());
        QCOMPARE(items, QSet<QString>(columns.cbegin(), columns.cend()));

        const auto key
            = rows(db.conn(),
                   u"select iItemType, vDefault, ishowOrder, bdefault from "
                   "hr_sys_itemdict where cTableCode='%1' and cItemCode='PK_%1'"_s.arg(code));
        QCOMPARE(key.size(), 1);
        QCOMPARE(key[0][0].toInt(), 13);
        QCOMPARE(key[0][1].toString(), u"newid()"_s);
        QCOMPARE(key[0][2].toInt(), 1);
        QCOMPARE(key[0][3].toInt(), 1);
    }
    QCOMPARE(groupsSeen, (QSet<int>{1, 2, 3, 4, 5, 9}));
    // The main tables the set editor names as parents exist.
    for (const QString &main :
         {u"HR_HI_PERSON"_s, u"DEPARTMENT"_s, u"HR_OM_DUTY"_s, u"HR_OM_JOB"_s})
        QVERIFY2(db.tableExists(main), qPrintable(main));
}

void TstHost::catalogueRowsAreRegistered()
{
    test::TestDatabase db;
    // Every information set and archive class is in the report catalogue; sets (not classes)
    // are business objects.
    QCOMPARE(db.scalar(u"select count(*) from hr_sys_setdict s where not exists (select 1 from "
                       "Rpt_GRPDEF r where r.Systemid='HM' and r.Tablename=s.cTableCode)"_s)
                 .toInt(),
             0);
    QCOMPARE(db.scalar(u"select count(*) from hr_sys_setdict s where s.iTableClass<>3 and not "
                       "exists (select 1 from AA_BusObject b where b.cBusObId=s.cTableCode)"_s)
                 .toInt(),
             0);
    QCOMPARE(db.scalar(u"select count(*) from AA_BusObject b join hr_sys_setdict s on "
                       "s.cTableCode=b.cBusObId where s.iTableClass=3"_s)
                 .toInt(),
             0);
    // Built-in or displayed items of sets have report and authorisation rows; code table
    // columns have none.
    QCOMPARE(db.scalar(u"select count(*) from hr_sys_itemdict i join hr_sys_setdict s on "
                       "s.cTableCode=i.cTableCode where s.iTableClass<>3 and (i.bdefault=1 or "
                       "i.bdisplay=1) and not exists (select 1 from Rpt_ItmDEF r where "
                       "r.TableName=i.cTableCode and r.FieldName=i.cItemCode)"_s)
                 .toInt(),
             0);
    QCOMPARE(db.scalar(u"select count(*) from hr_sys_itemdict i where (i.bdefault=1 or "
                       "i.bdisplay=1) and not exists (select 1 from AA_Columndic a where "
                       "a.cKey=i.cTableCode and a.cFld=i.cItemCode) and i.cTableCode not like "
                       "'HR_CT%'"_s)
                 .toInt(),
             0);
    QCOMPARE(db.scalar(u"select count(*) from Rpt_ItmDEF where TableName like 'HR_CT%'"_s).toInt(),
             0);
    QCOMPARE(db.scalar(u"select bMustSel from AA_Columndic where cKey='hr_hi_person' and "
                       "cFld='PK_hr_hi_person'"_s)
                 .toInt(),
             1);
    QCOMPARE(db.scalar(u"select FieldType from Rpt_ItmDEF where TableName='hr_hi_person' and "
                       "FieldName='rSex'"_s)
                 .toString(),
             db.scalar(u"select vFactType from hr_sys_datatype where id=9"_s).toString());
}

void TstHost::referencesPointToReferableSets()
{
    test::TestDatabase db;
    QCOMPARE(db.scalar(u"select count(*) from hr_sys_itemdict i where i.iItemType=9 and not "
                       "exists (select 1 from hr_sys_setdict s where s.cTableCode=i.vReferenceObj "
                       "and s.iTableClass in (2,3,6))"_s)
                 .toInt(),
             0);
    QCOMPARE(db.scalar(u"select count(*) from hr_sys_CategoriesMember m where not exists (select "
                       "1 from hr_sys_setdict s where s.cTableCode=m.ctablecode and "
                       "s.iTableGroup=m.itablegroup and s.iTableClass=1)"_s)
                 .toInt(),
             0);
    const auto categories
        = rows(db.conn(), u"select cid from hr_sys_Categories order by ishoworder"_s);
    QStringList cids;
    for (const auto &r : categories)
        cids << r[0].toString();
    QCOMPARE(cids, (QStringList{u"BZ001"_s, u"CJ002"_s, u"DJ003"_s, u"TP004"_s, u"LZ005"_s}));
    for (const auto &r : rows(db.conn(), u"select cTableCode from hr_bd_utable"_s))
        QVERIFY2(db.tableExists(r[0].toString()), qPrintable(r[0].toString()));
}

void TstHost::templatesCopyIntoTheItemDictionary()
{
    test::TestDatabase db;
    // A code table's standard columns are copied from hr_bd_fld by column name.
    const QStringList fld = db.columns(u"hr_bd_fld"_s);
    QCOMPARE(fld.first(), u"ctable"_s);
    const QSet<QString> dict = lowered(db.columns(u"hr_sys_itemdict"_s));
    for (const QString &c : fld.mid(1))
        QVERIFY2(dict.contains(c), qPrintable(c));
    // Each kind's template names the columns its tables are created with.
    const QList<std::pair<QString, QString>> kinds{{u"cPsn_Num"_s, u"hr_hi_person"_s},
                                                   {u"cDepCode"_s, u"Department"_s},
                                                   {u"cDutycode"_s, u"hr_om_duty"_s},
                                                   {u"cJobcode"_s, u"hr_om_job"_s},
                                                   {u"HR_CT"_s, u"HR_CT001"_s}};
    for (const auto &[kind, table] : kinds) {
        const QSet<QString> columns = lowered(db.columns(table));
        const auto items
            = rows(db.conn(), u"select cItemCode from hr_bd_fld where cTable='%1'"_s.arg(kind));
        QVERIFY2(!items.isEmpty(), qPrintable(kind));
        for (const auto &r : items)
            QVERIFY2(columns.contains(r[0].toString().toLower()), qPrintable(r[0].toString()));
    }
}

void TstHost::dataTypesCoverTheIds()
{
    test::TestDatabase db;
    QList<int> ids;
    for (const auto &r :
         rows(db.conn(), u"select id, vFactType from hr_sys_datatype order by id"_s)) {
        ids << r[0].toInt();
        QVERIFY(!r[1].toString().isEmpty());
    }
    QCOMPARE(ids, (QList<int>{1, 2, 3, 4, 5, 6, 9, 13, 14, 15}));
    QCOMPARE(db.scalar(u"select vFactType from hr_sys_datatype where id=13"_s).toString(),
             u"ZQUID"_s);
    QCOMPARE(db.scalar(u"select vDateFormat from hr_sys_dateformat where id=2"_s).toString(),
             u"YYYY-MM-DD"_s);
}

void TstHost::signInReadsOperatorAndAccount()
{
    test::TestDatabase db;
    auto login = signIn(db, u"001"_s);
    QCOMPARE(login->OperatorName(), u"张三"_s);
    QCOMPARE(login->OperatorCode(), u"001"_s);
    QVERIFY(!login->IsSupervisor());
    QCOMPARE(login->AccountCode(), u"001"_s);
    QCOMPARE(
        login->AccountName(),
        db.scalar(u"select cValue from AccInformation where cSysID='AA' and cName='cUnitName'"_s)
            .toString());
    QVERIFY(!login->AccountName().isEmpty());
    QCOMPARE(login->BusinessDate(), QDate(2025, 3, 31));
    QCOMPARE(login->InstallPath(), u"/opt/vx"_s);
    QCOMPARE(login->ConnectionString(), db.connectionString());
    QVERIFY(signIn(db, u"DEMO"_s)->IsSupervisor());
}

void TstHost::signInRefusesUnknownAndDisabledOperators()
{
    test::TestDatabase db;
    try {
        signIn(db, u"nobody"_s);
        QFAIL("an unknown operator signed in");
    } catch (const db::DbError &e) {
        QCOMPARE(e.message(), u"操作员[nobody]不存在"_s);
    }
    db.conn().Execute(u"update Host_Operator set bDisabled = 1 where cOperatorCode = '003'"_s);
    QVERIFY_THROWS_EXCEPTION(db::DbError, signIn(db, u"003"_s));
}

void TstHost::functionNames_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("add set") << u"HM01010101"_s << u"新增信息集"_s;
    QTest::newRow("add item") << u"HM01010102"_s << u"新增信息项"_s;
    QTest::newRow("modify set") << u"HM01010201"_s << u"修改信息集"_s;
    QTest::newRow("modify item") << u"HM01010202"_s << u"修改信息项"_s;
    QTest::newRow("delete set") << u"HM01010301"_s << u"删除信息集"_s;
    QTest::newRow("delete item") << u"HM01010302"_s << u"删除信息项"_s;
    QTest::newRow("add class") << u"HM01020101"_s << u"新增档案类"_s;
    QTest::newRow("add code") << u"HM01020102"_s << u"新增档案项"_s;
    QTest::newRow("modify class") << u"HM01020201"_s << u"修改档案类"_s;
    QTest::newRow("modify code") << u"HM01020202"_s << u"修改档案项"_s;
    QTest::newRow("delete class") << u"HM01020301"_s << u"删除档案类"_s;
    QTest::newRow("delete code") << u"HM01020302"_s << u"删除档案项"_s;
    QTest::newRow("business") << u"HM010104"_s << u"业务定制"_s;
    QTest::newRow("unknown") << u"HM99"_s << u"HM99"_s;
}

void TstHost::functionNames()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    test::TestDatabase db;
    QCOMPARE(signIn(db, u"003"_s)->FunctionName(code), name);
}

void TstHost::refusalWithoutRightNamesOperatorAndFunction()
{
    test::TestDatabase db;
    auto login = signIn(db, u"003"_s);
    QVERIFY(!login->RequestTask(u"HM01010101"_s, true, 0));
    QCOMPARE(login->LastErrorNumber(), long(host::TaskNotGranted));
    QCOMPARE(login->LastErrorText(), u"操作员[王五]没有[新增信息集]功能的权限"_s);
    login->ClearError();
    QCOMPARE(login->LastErrorNumber(), 0L);
    QVERIFY(login->LastErrorText().isEmpty());
    QCOMPARE(db.scalar(u"select count(*) from Host_TaskLock"_s).toInt(), 0);

    QVERIFY(!login->RequestTask(u"HM77777777"_s, true, 0));
    QCOMPARE(login->LastErrorNumber(), long(host::TaskUnknownFunction));
    QVERIFY(login->LastErrorText().contains(u"HM77777777"_s));

    host::rights::grant(db.conn(), u"003"_s, u"HM01010101"_s);
    QVERIFY(login->RequestTask(u"HM01010101"_s, true, 0));
    QCOMPARE(login->LastErrorNumber(), 0L);
}

void TstHost::grantCoversCodesBelowIt()
{
    test::TestDatabase db;
    host::rights::grant(db.conn(), u"003"_s, u"HM0102"_s);
    host::rights::grant(db.conn(), u"003"_s, u"hm0102"_s); // already granted: no second row
    QCOMPARE(host::rights::grantsOf(db.conn(), u"003"_s), QStringList{u"HM0102"_s});
    auto login = signIn(db, u"003"_s);
    QVERIFY(login->RequestTask(u"HM01020302"_s, true, 0));
    QVERIFY(!login->RequestTask(u"HM01010302"_s, true, 0));
    QCOMPARE(login->LastErrorNumber(), long(host::TaskNotGranted));

    host::rights::revoke(db.conn(), u"003"_s, u"HM0102"_s);
    QVERIFY(login->RequestTask(u"HM01020302"_s, false, 0));
    QVERIFY(!login->RequestTask(u"HM01020302"_s, true, 0));
    QCOMPARE(login->LastErrorNumber(), long(host::TaskNotGranted));
}

void TstHost::grantRejectsUnknownOperatorOrFunction()
{
    test::TestDatabase db;
    QVERIFY_THROWS_EXCEPTION(db::DbError, host::rights::grant(db.conn(), u"nobody"_s, u"HM0101"_s));
    QVERIFY_THROWS_EXCEPTION(db::DbError, host::rights::grant(db.conn(), u"003"_s, u"XX01"_s));
    QVERIFY_THROWS_EXCEPTION(db::DbError, host::rights::grant(db.conn(), u"003"_s, u"%"_s));
    QVERIFY_THROWS_EXCEPTION(db::DbError,
                             host::rights::addOperator(db.conn(), u"a'b"_s, u"某人"_s));
    QVERIFY_THROWS_EXCEPTION(db::DbError,
                             host::rights::addOperator(db.conn(), u"001"_s, u"重复"_s));
    QCOMPARE(db.scalar(u"select count(*) from Host_Right where cOperatorCode='003'"_s).toInt(), 0);

    host::rights::addOperator(db.conn(), u"010"_s, u"O'Brien 欧"_s);
    auto login = signIn(db, u"010"_s);
    QCOMPARE(login->OperatorName(), u"O'Brien 欧"_s);
    QVERIFY(!login->RequestTask(u"HM010104"_s, true, 0));
    QCOMPARE(login->LastErrorText(), u"操作员[O'Brien 欧]没有[业务定制]功能的权限"_s);
}

void TstHost::lockIsExclusiveAcrossConnections()
{
    test::TestDatabase db;
    auto zhang = signIn(db, u"001"_s);
    auto boss = signIn(db, u"demo"_s);
    QVERIFY(zhang->RequestTask(u"HM01010101"_s, true, 0));

    QVERIFY(!boss->RequestTask(u"HM01010101"_s, true, 0));
    QCOMPARE(boss->LastErrorNumber(), long(host::TaskHeldByOther));
    QVERIFY2(boss->LastErrorText().contains(u"[张三]"_s), qPrintable(boss->LastErrorText()));
    QVERIFY(boss->LastErrorText().contains(u"[新增信息集]"_s));
    QVERIFY(boss->LastErrorText().contains(QSysInfo::machineHostName()));
    // Another function is free.
    QVERIFY(boss->RequestTask(u"HM01010102"_s, true, 0));

    QVERIFY(!zhang->RequestTask(u"HM01010101"_s, true, 0));
    QCOMPARE(zhang->LastErrorNumber(), long(host::TaskAlreadyHeld));

    // Releasing with the other session's id leaves the lock alone.
    QVERIFY(boss->RequestTask(u"HM01010101"_s, false, 0));
    QVERIFY(!boss->RequestTask(u"HM01010101"_s, true, 0));

    QVERIFY(zhang->RequestTask(u"HM01010101"_s, false, 0));
    QVERIFY(boss->RequestTask(u"HM01010101"_s, true, 0));
    QCOMPARE(boss->LastErrorNumber(), 0L);
    QVERIFY(!zhang->RequestTask(u"HM01010101"_s, true, 0));
    QVERIFY(zhang->LastErrorText().contains(u"[演示主管]"_s));
}

void TstHost::menuNodesAreNotExclusive()
{
    test::TestDatabase db;
    auto zhang = signIn(db, u"001"_s);
    auto boss = signIn(db, u"demo"_s);
    QVERIFY(zhang->RequestTask(u"HM0101"_s, true, 0));
    QVERIFY(boss->RequestTask(u"HM0101"_s, true, 0));
    QVERIFY(zhang->RequestTask(u"HM0101"_s, true, 0));
    QCOMPARE(db.scalar(u"select count(*) from Host_TaskLock"_s).toInt(), 0);
}

void TstHost::closingASessionReleasesItsLocks()
{
    test::TestDatabase db;
    auto li = signIn(db, u"002"_s);
    QVERIFY(li->RequestTask(u"HM01020101"_s, true, 0));
    QVERIFY(li->RequestTask(u"HM010104"_s, true, 0));
    auto boss = signIn(db, u"demo"_s);
    QVERIFY(!boss->RequestTask(u"HM010104"_s, true, 0));
    li.reset();
    QCOMPARE(db.scalar(u"select count(*) from Host_TaskLock"_s).toInt(), 0);
    QVERIFY(boss->RequestTask(u"HM010104"_s, true, 0));
    QVERIFY(boss->RequestTask(u"HM01020101"_s, true, 0));
}

namespace {

void plantLock(test::TestDatabase &db, const QString &host, qint64 pid, const QString &start)
{
    db.conn().Execute(u"insert into Host_TaskLock (cFunctionCode, cOperatorCode, cSessionId, "
                      "cHostName, iPid, cProcessStart, dStartTime) values ('HM01020301', '002', "
                      "'crashed-session', '%1', %2, '%3', '2025-03-30 09:15:00')"_s.arg(host)
                          .arg(pid)
                          .arg(start));
}

qint64 endedProcessId()
{
    QProcess p;
    p.start(u"true"_s);
    if (!p.waitForStarted())
        return 0;
    const qint64 pid = p.processId();
    p.waitForFinished();
    return pid;
}

} // namespace

void TstHost::staleLockOfAnEndedProcessIsTakenOver()
{
    test::TestDatabase db;
    const qint64 pid = endedProcessId();
    QVERIFY(pid > 0);
    plantLock(db, QSysInfo::machineHostName(), pid, QString());
    auto boss = signIn(db, u"demo"_s);
    QVERIFY2(boss->RequestTask(u"HM01020301"_s, true, 0), qPrintable(boss->LastErrorText()));
    QCOMPARE(db.scalar(u"select cSessionId from Host_TaskLock where cFunctionCode='HM01020301'"_s)
                 .toString(),
             boss->SessionId());
}

void TstHost::lockOfAReusedProcessIdIsTakenOver()
{
    test::TestDatabase db;
    // This process's id, but recorded for a process that started at another time.
    plantLock(db, QSysInfo::machineHostName(), QCoreApplication::applicationPid(), u"1"_s);
    auto boss = signIn(db, u"demo"_s);
    QVERIFY2(boss->RequestTask(u"HM01020301"_s, true, 0), qPrintable(boss->LastErrorText()));
}

void TstHost::lockOfAnotherHostIsNotTakenOver()
{
    test::TestDatabase db;
    const qint64 pid = endedProcessId();
    plantLock(db, u"other-workstation"_s, pid, QString());
    auto boss = signIn(db, u"demo"_s);
    QVERIFY(!boss->RequestTask(u"HM01020301"_s, true, 0));
    QCOMPARE(boss->LastErrorNumber(), long(host::TaskHeldByOther));
    QVERIFY(boss->LastErrorText().contains(u"[李四]"_s));
    QVERIFY(boss->LastErrorText().contains(u"other-workstation"_s));
    QVERIFY(boss->LastErrorText().contains(u"2025-03-30 09:15:00"_s));
}

void TstHost::lockOfAKilledProcessIsTakenOver()
{
    test::TestDatabase db;
    QProcess holder;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(holderEnv), db.connectionString() + u"|002|HM01020201"_s);
    holder.setProcessEnvironment(env);
    holder.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(holder.waitForStarted());
    QVERIFY(holder.waitForReadyRead(30000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("HELD"));

    auto boss = signIn(db, u"demo"_s);
    QVERIFY(!boss->RequestTask(u"HM01020201"_s, true, 0));
    QCOMPARE(boss->LastErrorNumber(), long(host::TaskHeldByOther));
    QVERIFY(boss->LastErrorText().contains(u"[李四]"_s));
    QVERIFY(boss->LastErrorText().contains(QString::number(holder.processId())));

    holder.kill(); // no chance to release: the lock stays behind
    QVERIFY(holder.waitForFinished());
    QCOMPARE(db.scalar(u"select count(*) from Host_TaskLock"_s).toInt(), 1);
    QVERIFY2(boss->RequestTask(u"HM01020201"_s, true, 0), qPrintable(boss->LastErrorText()));
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet(holderEnv)) {
        QCoreApplication app(argc, argv);
        return runHolder();
    }
    QCoreApplication app(argc, argv);
    TstHost test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_host.moc"
