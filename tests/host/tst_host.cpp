#include "TestDatabase.h"

#include "db/DbError.h"
#include "host/DemoAccount.h"
#include "host/HostLogin.h"
#include "host/HostRights.h"

#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;

namespace {

QList<QVariantList> rows(db::Connection &conn, const QString &nativeSql)
{
    QList<QVariantList> out;
    for (auto rs = conn.engine().QueryNative(nativeSql); !rs->Eof(); rs->MoveNext()) {
        QVariantList row;
        for (int i = 0; i < rs->FieldCount(); ++i)
            row << rs->FieldValue(i);
        out << row;
    }
    return out;
}

int count(db::Connection &conn, const QString &nativeSql)
{
    return rows(conn, nativeSql).value(0).value(0).toInt();
}

// Row counts of every table, by lower-cased name.
QMap<QString, qlonglong> tableCounts(db::Connection &conn)
{
    QMap<QString, qlonglong> counts;
    for (const auto &t : rows(conn, u"select name from sqlite_master where type='table'"_s)) {
        const QString name = t[0].toString();
        counts.insert(name.toLower(), count(conn, u"select count(*) from \"%1\""_s.arg(name)));
    }
    return counts;
}

std::unique_ptr<host::HostLogin> signIn(const test::TestDatabase &db, const QString &op)
{
    return host::HostLogin::signIn(db.connectionString(), op, QDate(2025, 3, 31), u"/opt/vx"_s);
}

} // namespace

class TstHost : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void creatingTwiceChangesNothing();
    void failedCreationLeavesTheDatabaseAsItWas();
    void codeTablesAreConsistent_data();
    void codeTablesAreConsistent();
    void personsCodedValuesExist();
    void dictionaryHasNoDanglingRows_data();
    void dictionaryHasNoDanglingRows();

    void signInReadsOperatorAccountAndFunctionNames();
    void refusalWithoutRightNamesOperatorAndFunction();
    void grantCoversCodesBelowIt();
};

void TstHost::creatingTwiceChangesNothing()
{
    test::TestDatabase db(false);
    host::createDemoAccount(db.conn());
    const auto first = tableCounts(db.conn());
    QVERIFY(first.size() > 30);
    QVERIFY(first.value(u"hr_ct006"_s) > 3000);

    host::createDemoAccount(db.conn());
    QCOMPARE(tableCounts(db.conn()), first);
    // A second connection (as another process would open) sees a complete database too.
    host::createDemoAccount(*db.openAnother());
    QCOMPARE(tableCounts(db.conn()), first);
}

void TstHost::failedCreationLeavesTheDatabaseAsItWas()
{
    const auto expectRollback = [](test::TestDatabase &db, const QString &message) {
        const auto before = tableCounts(db.conn());
        try {
            host::createDemoAccount(db.conn());
            QFAIL("creation succeeded");
        } catch (const db::DbError &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
        QCOMPARE(tableCounts(db.conn()), before);
        QVERIFY(!db.conn().InTransaction());
    };
    test::TestDatabase other;
    other.conn().Execute(u"update Host_Meta set cValue='99' where cKey='SchemaVersion'"_s);
    expectRollback(other, u"99"_s);
    // A table of another application in the way of the schema.
    test::TestDatabase foreign(false);
    foreign.conn().engine().ExecuteNative(u"create table hr_sys_tgroup (x int)"_s);
    foreign.conn().engine().ExecuteNative(u"insert into hr_sys_tgroup values (7)"_s);
    expectRollback(foreign, QString());
}

void TstHost::codeTablesAreConsistent_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("multiLevel");
    QTest::newRow("gender") << u"HR_CT001"_s << false;
    QTest::newRow("education") << u"HR_CT003"_s << true;
    QTest::newRow("administrative divisions") << u"HR_CT006"_s << true;
}

void TstHost::codeTablesAreConsistent()
{
    QFETCH(QString, table);
    QFETCH(bool, multiLevel);
    test::TestDatabase db;
    QCOMPARE(
        rows(db.conn(),
             u"select iTableClass, bMultiLevel from hr_sys_setdict where cTableCode='%1'"_s.arg(
                 table)),
        (QList<QVariantList>{{3, multiLevel ? 1 : 0}}));
    // The class's standard columns, registered from the HR_CT template.
    QCOMPARE(count(db.conn(),
                   u"select count(*) from hr_sys_itemdict where ctablecode='%1'"_s.arg(table)),
             count(db.conn(), u"select count(*) from hr_bd_fld where ctable='HR_CT'"_s));
    QVERIFY(count(db.conn(), u"select count(*) from %1"_s.arg(table)) >= 4);
    QCOMPARE(count(db.conn(), u"select max(ilevels) from %1"_s.arg(table)) > 0, multiLevel);

    // Each query counts the codes breaking one rule; siblings share one length per level, the
    // rule the archive item editor enforces.
    const QStringList rules{
        u"select count(*) from %1 where coalesce(vdescription,'')='' or "
        "coalesce(vsimpleSpell,'')=''"_s,
        u"select count(*) from %1 where coalesce(cpcodeid,'')='' and ilevels<>0"_s,
        u"select count(*) from %1 c where coalesce(c.cpcodeid,'')<>'' and not exists (select 1 "
        "from %1 p where p.ccodeid=c.cpcodeid and p.ilevels+1=c.ilevels and "
        "length(p.ccodeid)<length(c.ccodeid) and "
        "substr(c.ccodeid,1,length(p.ccodeid))=p.ccodeid)"_s,
        u"select count(*) from %1 c where c.bchildflag<>(case when exists (select 1 from %1 k "
        "where k.cpcodeid=c.ccodeid) then '1' else '0' end)"_s,
        u"select count(*) from (select ilevels from %1 group by ilevels "
        "having count(distinct length(ccodeid))>1) x"_s};
    for (const QString &rule : rules)
        QVERIFY2(count(db.conn(), rule.arg(table)) == 0, qPrintable(rule));
}

// Every person's coded values exist in the code tables they refer to.
void TstHost::personsCodedValuesExist()
{
    test::TestDatabase db;
    for (const auto &r : rows(db.conn(),
                              u"select i.cItemCode, i.vReferenceObj from hr_sys_itemdict i join "
                              "hr_sys_setdict s on s.cTableCode = i.vReferenceObj where "
                              "i.cTableCode = 'hr_hi_person' and s.iTableClass = 3"_s)) {
        const QString sql = u"select count(*) from hr_hi_person p where p.%1 is not null and not "
                            "exists (select 1 from %2 c where c.ccodeID = p.%1)"_s;
        QVERIFY2(count(db.conn(), sql.arg(r[0].toString(), r[1].toString())) == 0,
                 qPrintable(r[0].toString()));
    }
}

void TstHost::dictionaryHasNoDanglingRows_data()
{
    // Each query counts the rows that break one rule of the dictionary.
    QTest::addColumn<QString>("sql");
    QTest::newRow("set without report group")
        << u"select count(*) from hr_sys_setdict s where not exists (select 1 from Rpt_GRPDEF r "
           "where r.Systemid='HM' and r.Tablename=s.cTableCode)"_s;
    QTest::newRow("information set without business object")
        << u"select count(*) from hr_sys_setdict s where s.iTableClass<>3 and not exists "
           "(select 1 from AA_BusObject b where b.cBusObId=s.cTableCode)"_s;
    QTest::newRow("code table as business object")
        << u"select count(*) from AA_BusObject b join hr_sys_setdict s on "
           "s.cTableCode=b.cBusObId where s.iTableClass=3"_s;
    QTest::newRow("shown item without report field")
        << u"select count(*) from hr_sys_itemdict i join hr_sys_setdict s on "
           "s.cTableCode=i.cTableCode where s.iTableClass<>3 and (i.bdefault=1 or i.bdisplay=1) "
           "and not exists (select 1 from Rpt_ItmDEF r where r.TableName=i.cTableCode and "
           "r.FieldName=i.cItemCode)"_s;
    QTest::newRow("shown item without column authorisation")
        << u"select count(*) from hr_sys_itemdict i where (i.bdefault=1 or i.bdisplay=1) and not "
           "exists (select 1 from AA_Columndic a where a.cKey=i.cTableCode and "
           "a.cFld=i.cItemCode) and i.cTableCode not like 'HR_CT%'"_s;
    QTest::newRow("code table column as report field")
        << u"select count(*) from Rpt_ItmDEF where TableName like 'HR_CT%'"_s;
    QTest::newRow("report field type not of its data type")
        << u"select count(*) from Rpt_ItmDEF r join hr_sys_itemdict i on i.cTableCode=r.TableName "
           "and i.cItemCode=r.FieldName join hr_sys_datatype d on d.id=i.iItemType where "
           "r.FieldType<>d.vFactType"_s;
    QTest::newRow("item of unknown data type")
        << u"select count(*) from hr_sys_itemdict i where not exists (select 1 from "
           "hr_sys_datatype d where d.id=i.iItemType and d.vFactType<>'')"_s;
    QTest::newRow("reference to a set that cannot be referred to")
        << u"select count(*) from hr_sys_itemdict i where i.iItemType=9 and not exists (select 1 "
           "from hr_sys_setdict s where s.cTableCode=i.vReferenceObj and s.iTableClass in "
           "(2,3,6))"_s;
    QTest::newRow("column without dictionary item")
        << u"select count(*) from hr_sys_setdict s, pragma_table_info(s.cTableCode) p where "
           "s.iTableClass<>3 and not exists (select 1 from hr_sys_itemdict i where "
           "lower(i.cTableCode)=lower(s.cTableCode) and lower(i.cItemCode)=lower(p.name))"_s;
    QTest::newRow("key item not a generated guid")
        << u"select count(*) from hr_sys_setdict s where s.iTableClass<>3 and not exists (select "
           "1 from hr_sys_itemdict i where lower(i.cTableCode)=lower(s.cTableCode) and "
           "lower(i.cItemCode)=lower('PK_'||s.cTableCode) and i.iItemType=13 and "
           "i.vDefault='newid()' and i.ishowOrder=1 and i.bdefault=1)"_s;
    // Each kind's template names the columns its tables are created with.
    QTest::newRow("template column missing from its table")
        << u"with m(k, t) as (values ('cPsn_Num','hr_hi_person'), ('cDepCode','Department'), "
           "('cDutycode','hr_om_duty'), ('cJobcode','hr_om_job'), ('HR_CT','HR_CT001')) select "
           "count(*) from m left join hr_bd_fld f on f.cTable=m.k where f.cItemCode is null or "
           "not exists (select 1 from pragma_table_info(m.t) p where "
           "lower(p.name)=lower(f.cItemCode))"_s;
    QTest::newRow("category member not a main set")
        << u"select count(*) from hr_sys_CategoriesMember m where not exists (select 1 from "
           "hr_sys_setdict s where s.cTableCode=m.ctablecode and s.iTableGroup=m.itablegroup and "
           "s.iTableClass=1)"_s;
    QTest::newRow("user table missing")
        << u"select count(*) from hr_bd_utable u where not exists (select 1 from sqlite_master m "
           "where m.type='table' and lower(m.name)=lower(u.cTableCode))"_s;
}

void TstHost::dictionaryHasNoDanglingRows()
{
    QFETCH(QString, sql);
    test::TestDatabase db;
    QVERIFY(count(db.conn(), u"select count(*) from Rpt_ItmDEF"_s) > 0);
    QCOMPARE(count(db.conn(), sql), 0);
}

void TstHost::signInReadsOperatorAccountAndFunctionNames()
{
    test::TestDatabase db;
    auto login = signIn(db, u"001"_s);
    QCOMPARE(login->OperatorName(), u"张三"_s);
    QVERIFY(!login->IsSupervisor());
    QCOMPARE(login->AccountName(), u"星桥示范科技有限公司"_s);
    QVERIFY(signIn(db, u"DEMO"_s)->IsSupervisor());
    // Function codes in any letter case; an unknown one is its own name.
    QCOMPARE(QStringList({login->FunctionName(u"HM01010202"_s),
                          login->FunctionName(u"hm01020102"_s),
                          login->FunctionName(u"HM99"_s)}),
             (QStringList{u"修改信息项"_s, u"新增档案项"_s, u"HM99"_s}));

    try {
        signIn(db, u"nobody"_s);
        QFAIL("an unknown operator signed in");
    } catch (const db::DbError &e) {
        QCOMPARE(e.message(), u"操作员[nobody]不存在"_s);
    }
    db.conn().Execute(u"update Host_Operator set bDisabled = 1 where cOperatorCode = '003'"_s);
    QVERIFY_THROWS_EXCEPTION(db::DbError, signIn(db, u"003"_s));
}

void TstHost::refusalWithoutRightNamesOperatorAndFunction()
{
    test::TestDatabase db;
    host::rights::addOperator(db.conn(), u"010"_s, u"O'Brien 欧"_s);
    auto login = signIn(db, u"010"_s);
    QCOMPARE(login->OperatorName(), u"O'Brien 欧"_s);
    QVERIFY(!login->RequestTask(u"HM01010101"_s, true, 0));
    QCOMPARE(login->LastErrorNumber(), long(host::TaskNotGranted));
    QCOMPARE(login->LastErrorText(), u"操作员[O'Brien 欧]没有[新增信息集]功能的权限"_s);
    QCOMPARE(count(db.conn(), u"select count(*) from Host_TaskLock"_s), 0);
    QVERIFY(!login->RequestTask(u"HM77777777"_s, true, 0));
    QCOMPARE(login->LastErrorNumber(), long(host::TaskUnknownFunction));
    QVERIFY(login->LastErrorText().contains(u"HM77777777"_s));

    host::rights::grant(db.conn(), u"010"_s, u"HM01010101"_s);
    QVERIFY(login->RequestTask(u"HM01010101"_s, true, 0));
    QCOMPARE(login->LastErrorNumber(), 0L);
}

void TstHost::grantCoversCodesBelowIt()
{
    test::TestDatabase db;
    auto &conn = db.conn();
    QVERIFY_THROWS_EXCEPTION(db::DbError, host::rights::grant(conn, u"nobody"_s, u"HM0101"_s));
    QVERIFY_THROWS_EXCEPTION(db::DbError, host::rights::grant(conn, u"003"_s, u"XX01"_s));
    QVERIFY_THROWS_EXCEPTION(db::DbError, host::rights::grant(conn, u"003"_s, u"%"_s));
    QVERIFY_THROWS_EXCEPTION(db::DbError, host::rights::addOperator(conn, u"a'b"_s, u"某人"_s));
    QVERIFY_THROWS_EXCEPTION(db::DbError, host::rights::addOperator(conn, u"001"_s, u"重复"_s));
    QCOMPARE(count(conn, u"select count(*) from Host_Right where cOperatorCode='003'"_s), 0);

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

QTEST_GUILESS_MAIN(TstHost)
#include "tst_host.moc"
