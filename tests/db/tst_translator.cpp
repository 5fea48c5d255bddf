#include "TestDatabase.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/FieldType.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using vorlane::db::Connection;
using vorlane::db::DbError;
using vorlane::db::Recordset;
using vorlane::test::TestDatabase;

namespace {

// "header;row;row", columns joined by "|", NULL written as NULL.
QString dump(Recordset &rs)
{
    QStringList names;
    for (int i = 0; i < rs.FieldCount(); ++i)
        names << rs.FieldName(i);
    QStringList lines{names.join(u'|')};
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList values;
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const QVariant v = rs.FieldValue(i);
            values << (rs.FieldIsNull(i)               ? u"NULL"_s
                       : v.typeId() == QMetaType::Bool ? QString::number(v.toInt())
                       : v.typeId() == QMetaType::QDateTime
                           ? v.toDateTime().toString(u"yyyy-MM-dd hh:mm:ss"_s)
                           : v.toString());
        }
        lines << values.join(u'|');
    }
    return lines.join(u';');
}

QString native(Connection &conn, const QString &sql)
{
    return dump(*conn.engine().QueryNative(sql));
}

QString tsql(Connection &conn, const QString &sql)
{
    return dump(*conn.OpenRecordset(sql));
}

QString columnsOf(const QString &table)
{
    return u"select name||' '||type||' '||\"notnull\"||' '||pk as c from pragma_table_info('"_s
           + table + u"')"_s;
}

// The physical-table statements exactly as the set and code table services build them.
QString dropPart(const QString &t)
{
    return u"if exists (select * from sysobjects where id = object_id(N'%1') and "
           "OBJECTPROPERTY(id, N'IsUserTable') = 1)  drop table %1"_s.arg(t);
}

QString createSet(const QString &t, const QString &keyColumn)
{
    if (keyColumn.isEmpty())
        return dropPart(t)
               + u" CREATE TABLE %1 (PK_%1   ZQUID NOT NULL  Primary Key( PK_%1));"_s.arg(t);
    return dropPart(t)
           + u" CREATE TABLE %1 (PK_%1   ZQUID NOT NULL , %2 NOT NULL, iRecordID   int, "
             "blastflag bit not null default 1, vstatus1  nvarchar(50), nstatus2  numeric, "
             "Primary Key( PK_%1));"_s.arg(t, keyColumn);
}

QString createCodeTable(const QString &t)
{
    return dropPart(t)
           + u" CREATE TABLE %1 (     [ccodeID] [varchar] (30) COLLATE Chinese_PRC_CI_AS NOT NULL ,"
             "     [vdescription] [nvarchar] (60) COLLATE Chinese_PRC_CI_AS NOT NULL ,"
             "     [vsimpleName] [nvarchar] (60) COLLATE Chinese_PRC_CI_AS NULL ,"
             "     [vsimpleSpell] [varchar] (60) COLLATE Chinese_PRC_CI_AS NULL ,"
             "     [ilevels] [int] NULL ,"
             "     [cpCodeID] [varchar] (30) COLLATE Chinese_PRC_CI_AS NULL ,"
             "     [bsysFlag] [char] (1) COLLATE Chinese_PRC_CI_AS NULL ,"
             "     [bChildFlag] [char] (1) COLLATE Chinese_PRC_CI_AS NULL ,"
             "     [bhideFlag] [char] (1) COLLATE Chinese_PRC_CI_AS NULL ,"
             "     [vMemo] [varchar] (200) COLLATE Chinese_PRC_CI_AS NULL     Primary Key(ccodeId)"
             "  ) ON [PRIMARY] "_s.arg(t);
}

// A top-level code as the code table service adds it.
QString addCode(const QString &code, const QString &name)
{
    return u"insert HR_CT901 (ccodeID,vdescription,vsimpleName,vsimpleSpell,ilevels,cpCodeID,"
           "bsysFlag,bChildFlag,bhideFlag,vMemo)  values  ('%1','%2','%2','','0','','1','0','0','')"_s
               .arg(code, name);
}

QString countOf(const QString &table, const QString &where)
{
    return u"select count(*) as n from "_s + table + u" where "_s + where;
}

// Declared type of a column as the record set reports it.
int typeCode(Connection &conn, const QString &column)
{
    return conn.OpenRecordset(u"select "_s + column + u" from hr_alt"_s)->FieldType(0);
}

QString declared(Connection &conn, const QString &column)
{
    const QString sql = u"select type from pragma_table_info('hr_alt') where name = '%1'"_s;
    return native(conn, sql.arg(column)).section(u';', 1);
}

void makeAlterTable(Connection &conn)
{
    conn.Execute(createSet(u"hr_alt"_s, u"cPsn_Num    VARCHAR(10)"_s));
    conn.Execute(u"ALTER TABLE hr_alt ADD cName varchar(10)  null ,nPay numeric(10,2)  null ,"
                 "cKind nvarchar(4)  null ,iAge int  null ,cCode char(4)  null "_s);
    conn.Execute(u"create index IX_hr_alt_age on hr_alt (iAge)"_s);
    conn.Execute(u"insert hr_alt (PK_hr_alt, cPsn_Num, cName, nPay, cKind, iAge, cCode) values "
                 "(newid(), 'P1', 'abc', 12.5, 'k', 40, '0012'), (newid(), 'P2', NULL, NULL, NULL, "
                 "NULL, '7')"_s);
}

} // namespace

class TstTranslator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statementForms_data();
    void statementForms();
    void expressionsKeepTheirMeaning_data();
    void expressionsKeepTheirMeaning();
    void unknownStatementCarriesSqliteMessage();
    void codesMatchWithoutCase();
    void serverValueRules_data();
    void serverValueRules();
    void alterColumn_data();
    void alterColumn();
    void alterColumnRebuildRefusesBadValues();
    void alterColumnLengthRule();
};

// One row per statement form the component runs, with its effect on SQLite (the demo account
// database). `setup` and `statement` are T-SQL run through the connection; `check` is a SQLite
// query (empty: the statement is a query and its own result counts).
void TstTranslator::statementForms_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("expected");
    const QString none, query; // no setup; no check, the statement's own result counts

    QTest::newRow("CreateTable person over an old table")
        << u"create table hr_t1 (old int); insert hr_t1 (old) values (1)"_s
        << createSet(u"hr_t1"_s, u"cPsn_Num    VARCHAR(10)"_s) << columnsOf(u"hr_t1"_s)
        << u"c;PK_hr_t1 ZQUID 1 1;cPsn_Num VARCHAR(10) 1 0;iRecordID INT 0 0;"
           "blastflag bit 1 0;vstatus1 nvarchar(50) 0 0;nstatus2 numeric 0 0"_s;
    QTest::newRow("CreateTable code table")
        << none << createCodeTable(u"HR_CT900"_s) << columnsOf(u"HR_CT900"_s)
        << u"c;ccodeID varchar(30) 1 1;vdescription nvarchar(60) 1 0;vsimpleName nvarchar(60) 0 0;"
           "vsimpleSpell varchar(60) 0 0;ilevels INT 0 0;cpCodeID varchar(30) 0 0;"
           "bsysFlag char(1) 0 0;bChildFlag char(1) 0 0;bhideFlag char(1) 0 0;"
           "vMemo varchar(200) 0 0"_s;
    QTest::newRow("DropTable existing and missing; guard with owner")
        << createSet(u"hr_t9"_s, {}) + u"\ncreate table hr_t8 (a int)"_s
        << dropPart(u"hr_t9"_s) + u" "_s + dropPart(u"hr_none"_s)
               + u" if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[hr_t8]') "
                 "and OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table [dbo].[hr_t8]"_s
        << countOf(u"sqlite_schema"_s, u"name in ('hr_t9', 'hr_t8')"_s) << u"n;0"_s;
    QTest::newRow("batch without separators, with separators and GO; delete without from")
        << u"create table hr_t7 (a int, b int)\nGO\ninsert hr_t7 (a, b) values (1, 2) "
           "insert hr_t7 (a, b) values (3, 4)"_s
        << u"update hr_t7 set a=5 delete hr_t7 where b=2;\nGO\n"_s << u"select a, b from hr_t7"_s
        << u"a|b;5|4"_s;

    QTest::newRow("delete by code prefix, any case; bracketed underscore")
        << createCodeTable(u"HR_CT901"_s) + addCode(u"1101A1"_s, u"a"_s)
               + addCode(u"1101a12"_s, u"b"_s) + addCode(u"1101B1"_s, u"c"_s)
               + addCode(u"11_1x"_s, u"d"_s) + addCode(u"1121"_s, u"e"_s)
        << u"delete from HR_CT901 where ccodeId like '1101a1%' delete HR_CT901 where ccodeID like "
           "'11[_]%'"_s
        << u"select ccodeID from HR_CT901 order by ccodeID"_s << u"ccodeID;1101B1;1121"_s;
    QTest::newRow("update: dictionary row, code in other case")
        << none
        << u"update hr_sys_setdict  set vTableName='新名',  vdescription='d',  bMultiLevel='0',  "
           "vParentTable='',  iFunctionScope='7',  iTableType='2',  iTableClass='1',  "
           "bsysFlag='1',  icycleType='',  ishoworder='12',  bDisplay='0',  vmemo='m'  "
           "where ctablecode='HR_HI_PERSON'"_s
        << u"select vTableName, iFunctionScope, ishowOrder, bDisplay from hr_sys_setdict "
           "where vdescription = 'D'"_s
        << u"vTableName|iFunctionScope|ishowOrder|bDisplay;新名|7|12|0"_s;

    const QString set9 = createSet(u"hr_zz9"_s, {});
    QTest::newRow("column add statement")
        << set9
        << u"ALTER TABLE hr_zz9 ADD cName varchar(20)  null ,nPay numeric(10,2)  null ,"
           "dBirth datetime  null ,iAge int  null "_s
        << columnsOf(u"hr_zz9"_s)
        << u"c;PK_hr_zz9 ZQUID 1 1;cName varchar(20) 0 0;nPay numeric(10,2) 0 0;"
           "dBirth datetime 0 0;iAge INT 0 0"_s;
    QTest::newRow("column drop statement, two columns")
        << set9
               + u"\nALTER TABLE hr_zz9 ADD cName varchar(20)  null ,iAge int  null ,nPay int  null "_s
        << u"ALTER TABLE hr_zz9 DROP COLUMN cName, nPay"_s << columnsOf(u"hr_zz9"_s)
        << u"c;PK_hr_zz9 ZQUID 1 1;iAge INT 0 0"_s;
    QTest::newRow("guarded statements in a batch")
        << u"create table hr_t4 (a int) insert hr_t4 (a) values (1)"_s
        << u"if exists (select 1 from hr_t4 where a = 1) delete hr_t4  insert hr_t4 (a) values (2) "
           "if not exists (select 1 from hr_t4 where a = 1) insert hr_t4 (a) values (3)"_s
        << u"select a from hr_t4 order by a"_s << u"a;2;3"_s;
    QTest::newRow("top in a sub-query and before a comment")
        << u"create table hr_t6 (b int) insert hr_t6 (b) values (3), (1), (2), (1)"_s
        << u"select distinct top (3) b from (select top 3 b from hr_t6 order by b) x order by b "
           "-- first"_s
        << query << u"b;1;2"_s;
    QTest::newRow("quoted, bracketed and commented tokens untouched")
        << u"create table T ([top] varchar(40), \"like\" varchar(40))\n"
           "insert T ([top], \"like\") values ('select top 1 * from x', "
           "N'isnull(a) + len(b) -- ''c''') -- top 1"_s
        << u"select [top], \"like\" /* top 1 */ from T"_s << query
        << u"top|like;select top 1 * from x|isnull(a) + len(b) -- 'c'"_s;
    QTest::newRow("quoted aliases in a join")
        << u"delete from hr_sys_CategoriesMember where cid = 'BZ001'\ninsert hr_sys_setdict "
           "(cTableCode, vTableName, vdescription, vMemo, bDisplay, bdelFlag, ishowOrder) values "
           "('hr_zz1', '测试集', '', '', 1, 0, 900)\ninsert hr_sys_CategoriesMember( "
           "cid,ctablecode,"
           "itablegroup) values('BZ001', 'hr_zz1' ,'9')"_s
        << u"select t1.cid as '业务代码',t1.ctablecode as '信息集代码',t2.vtablename as "
           u"'信息集名称',"
           "t2.vdescription as '信息集描述',t2.vmemo as '备注' from hr_sys_CategoriesMember as t1 "
           "left join hr_sys_setdict as t2 on t1.ctablecode=t2.ctablecode  where t1.cid='bz001' "
           "and t2.bDisplay=1 and t2.bdelFlag=0 order by  t2.ishowOrder"_s
        << query << u"业务代码|信息集代码|信息集名称|信息集描述|备注;BZ001|hr_zz1|测试集||"_s;
}

void TstTranslator::statementForms()
{
    QFETCH(QString, setup);
    QFETCH(QString, statement);
    QFETCH(QString, check);
    QFETCH(QString, expected);

    TestDatabase db;
    Connection &conn = db.conn();
    if (!setup.isEmpty())
        conn.Execute(setup);
    if (check.isEmpty()) {
        QCOMPARE(tsql(conn, statement), expected);
        return;
    }
    conn.Execute(statement);
    QString actual = native(conn, check);
    if (TestDatabase::onPostgres()) { // names in lower case, as PostgreSQL keeps them
        const bool columns = check.contains(u"pragma_table_info"_s);
        for (QString *s : {&actual, &expected}) {
            const qsizetype names = columns || !s->contains(u';') ? s->size() : s->indexOf(u';');
            s->replace(0, names, s->left(names).toLower());
        }
    }
    QCOMPARE(actual, expected);
}

void TstTranslator::expressionsKeepTheirMeaning_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");
    QTest::newRow("date 120") << u"CONVERT(varchar, d, 120)"_s << u"2024-03-05 13:45:10"_s;
    QTest::newRow("month by length") << u"CONVERT(varchar(7), d, 120)"_s << u"2024-03"_s;
    QTest::newRow("text with a date style") << u"CONVERT(char,substring(c,6,3),105)"_s << u"007"_s;
    QTest::newRow("number to text") << u"CONVERT(varchar(10), n)"_s << u"12"_s;
    QTest::newRow("text to number") << u"CONVERT(int, substring(c,6,3)) + 1"_s << u"8"_s;
    QTest::newRow("decimals") << u"CONVERT(numeric(10,2), 2.345)"_s << u"2.35"_s;
    QTest::newRow("text to date") << u"CONVERT(datetime, '20240305', 112)"_s
                                  << u"2024-03-05 00:00:00"_s;
    QTest::newRow("isnull") << u"isnull(NULL, n)"_s << u"12"_s;
    QTest::newRow("blank text to number") << u"CONVERT(int, '')"_s << u"0"_s;
    QTest::newRow("len ignores trailing blanks") << u"len(N'ab  ')"_s << u"2"_s;
}

void TstTranslator::expressionsKeepTheirMeaning()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    TestDatabase db(false);
    db.conn().Execute(u"create table T (c varchar(10), d datetime, n int) "
                      "insert T (c, d, n) values ('HR_CT007', '2024-03-05 13:45:10', 12)"_s);
    QCOMPARE(tsql(db.conn(), u"select "_s + expression + u" as v from T"_s), u"v;"_s + expected);
}

void TstTranslator::unknownStatementCarriesSqliteMessage()
{
    if (TestDatabase::onPostgres())
        QSKIP("SQLite's own messages and table rebuild");
    TestDatabase db(false);
    try {
        db.conn().Execute(u"frobnicate the widgets"_s);
        QFAIL("the statement ran");
    } catch (const DbError &e) {
        QCOMPARE(e.message(), u"near \"frobnicate\": syntax error"_s);
    }
    QVERIFY_THROWS_EXCEPTION(DbError, db.conn().Execute(u"  -- nothing\n"_s));
}

void TstTranslator::codesMatchWithoutCase()
{
    TestDatabase db(false);
    Connection &conn = db.conn();
    conn.Execute(createCodeTable(u"HR_CT901"_s));
    conn.Execute(createSet(u"hr_p"_s, u"cPsn_Num    VARCHAR(10)"_s));
    conn.Execute(u"ALTER TABLE hr_p ADD cName nvarchar(20)  null "_s);
    conn.Execute(u"insert hr_p (PK_hr_p, cPsn_Num, cName) values (newid(), 'AB01', N'Zhang')"_s);
    conn.Execute(addCode(u"A1"_s, u"Alpha"_s));

    QCOMPARE(tsql(conn, u"select cName from hr_p where cPsn_Num = 'ab01'"_s), u"cName;Zhang"_s);
    QCOMPARE(tsql(conn, u"select cPsn_Num from hr_p where cName like 'zh%'"_s), u"cPsn_Num;AB01"_s);
    QCOMPARE(tsql(conn, u"select ccodeID from HR_CT901 where vdescription = 'ALPHA'"_s),
             u"ccodeID;A1"_s);
    // the key is case-insensitive too: a code differing only in case is a duplicate
    QVERIFY_THROWS_EXCEPTION(DbError, conn.Execute(addCode(u"a1"_s, u"x"_s)));
    // the guid key compares without case as the server's unique identifiers do
    const QString guid = tsql(conn, u"select PK_hr_p from hr_p"_s).section(u';', 1);
    QCOMPARE(tsql(conn, u"select cName from hr_p where PK_hr_p = '"_s + guid.toLower() + u"'"_s),
             u"cName;Zhang"_s);

    // newid() and getdate() as column defaults: distinct version 4 GUIDs.
    conn.Execute(u"create table T (id ZQUID not null default newid(), d datetime default "
                 "(getdate()), n int)"_s);
    conn.Execute(u"insert T (n) values (1) insert T (n) values (2)"_s);
    const QStringList ids = tsql(conn, u"select id from T where d is not null"_s).split(u';');
    static const QRegularExpression guidForm(
        u"^[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}$"_s);
    QCOMPARE(ids.size(), 3);
    QVERIFY(ids[1] != ids[2]);
    for (const QString &id : ids.mid(1))
        QVERIFY2(guidForm.match(id).hasMatch(), qPrintable(id));
}

// What the server refuses to store, the other engines refuse too.
void TstTranslator::serverValueRules_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("stored");
    QTest::newRow("int, empty text") << u"int"_s << u"''"_s << true;
    QTest::newRow("int, text") << u"int"_s << u"'abc'"_s << false;
    QTest::newRow("varchar, trailing blanks") << u"varchar(4)"_s << u"'abcd   '"_s << true;
    QTest::newRow("varchar, too long") << u"varchar(4)"_s << u"'abcde'"_s << false;
    QTest::newRow("varchar, two Chinese") << u"varchar(4)"_s << u"'人事'"_s << true;
    QTest::newRow("varchar, three Chinese") << u"varchar(5)"_s << u"'人事部'"_s << false;
    QTest::newRow("char, name with dots") << u"char(12)"_s << u"'买买提·艾力'"_s << true;
    QTest::newRow("char, dots count two") << u"char(4)"_s << u"'a··'"_s << false;
    QTest::newRow("nvarchar, characters") << u"nvarchar(3)"_s << u"'人事部'"_s << true;
}

void TstTranslator::serverValueRules()
{
    QFETCH(QString, type);
    QFETCH(QString, value);
    QFETCH(bool, stored);
    TestDatabase db(false);
    Connection &c = db.conn();
    c.Execute(
        QStringLiteral("CREATE TABLE [t] ([k] int NOT NULL, [v] %1 NULL) ON [PRIMARY]").arg(type));
    try {
        c.Execute(QStringLiteral("insert t (k, v) values (1, %1)").arg(value));
        QVERIFY2(stored, "stored what the server refuses");
    } catch (const DbError &e) {
        QVERIFY2(!stored, qPrintable(e.message()));
    }
    // The same through an update and through a column added later.
    c.Execute(QStringLiteral("insert t (k) values (2)"));
    c.Execute(QStringLiteral("alter table t add w %1 null").arg(type));
    for (const QString &sql : {QStringLiteral("update t set v = %1 where k = 2"),
                               QStringLiteral("update t set w = %1 where k = 2")}) {
        try {
            c.Execute(sql.arg(value));
            QVERIFY2(stored, qPrintable(sql));
        } catch (const DbError &) {
            QVERIFY2(!stored, qPrintable(sql));
        }
    }
}

void TstTranslator::alterColumn_data()
{
    if (TestDatabase::onPostgres())
        QSKIP("SQLite's own messages and table rebuild");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("newType");
    QTest::addColumn<int>("oldCode");
    QTest::addColumn<int>("newCode");
    QTest::addColumn<QString>("values"); // empty: changed in place, rows untouched
    QTest::addColumn<bool>("inTransaction");

    QTest::newRow("nvarchar to varchar")
        << u"cKind"_s << u"varchar(8)"_s << 202 << 200 << QString() << true;
    QTest::newRow("key column longer, no transaction")
        << u"cPsn_Num"_s << u"VARCHAR(20)"_s << 200 << 200 << QString() << false;
    QTest::newRow("rebuild: int to varchar")
        << u"iAge"_s << u"varchar(10)"_s << 3 << 200 << u"v|t;40|text;NULL|null"_s << true;
    QTest::newRow("rebuild: char to int")
        << u"cCode"_s << u"int"_s << 129 << 3 << u"v|t;12|integer;7|integer"_s << true;
    QTest::newRow("rebuild: null to not null")
        << u"cCode"_s << u"char(4) NOT NULL"_s << 129 << 129 << u"v|t;0012|text;7|text"_s << true;
}

// A change within one storage class touches only the declaration: the table keeps its pages and
// rows. Another storage class rebuilds the table in the caller's transaction, converting the
// rows and restoring the indexes. Either way a rollback restores the old table, and the
// collation, NOT NULL and default of the other columns survive.
void TstTranslator::alterColumn()
{
    QFETCH(QString, column);
    QFETCH(QString, newType);
    QFETCH(int, oldCode);
    QFETCH(int, newCode);
    QFETCH(QString, values);
    QFETCH(bool, inTransaction);

    TestDatabase db(false);
    Connection &conn = db.conn();
    makeAlterTable(conn);
    const QString all = u"select * from hr_alt order by cPsn_Num"_s;
    const QString integrity = u"PRAGMA integrity_check"_s;
    const QString before = native(conn, all);
    const QString oldType = declared(conn, column);
    const QString rootPage = u"select rootpage from sqlite_schema where name = 'hr_alt'"_s;
    const QString pages = native(conn, rootPage);
    const QString alter = u"ALTER TABLE hr_alt ALTER COLUMN "_s + column + u' ' + newType;

    conn.BeginTrans();
    conn.Execute(alter);
    QCOMPARE(typeCode(conn, column), newCode);
    conn.RollbackTrans();
    QCOMPARE(declared(conn, column), oldType);
    QCOMPARE(typeCode(conn, column), oldCode);
    QCOMPARE(native(conn, all), before);
    QCOMPARE(native(conn, integrity), u"integrity_check;ok"_s);

    if (inTransaction)
        conn.BeginTrans();
    conn.Execute(alter);
    if (inTransaction)
        conn.CommitTrans();
    QCOMPARE(declared(conn, column).toLower(), newType.section(u' ', 0, 0).toLower());
    QCOMPARE(typeCode(conn, column), newCode);
    if (values.isEmpty()) {
        QCOMPARE(native(conn, rootPage), pages);
        QCOMPARE(native(conn, all), before);
    } else {
        QCOMPARE(native(conn,
                        u"select "_s + column + u" as v, typeof("_s + column
                            + u") as t from hr_alt order by cPsn_Num"_s),
                 values);
    }
    QCOMPARE(native(conn,
                    u"select name from sqlite_schema where type = 'index' and sql is not null "
                    "and tbl_name = 'hr_alt'"_s),
             u"name;IX_hr_alt_age"_s);
    QCOMPARE(tsql(conn, countOf(u"hr_alt"_s, u"cPsn_Num = 'p1' and cName = 'ABC'"_s)), u"n;1"_s);
    QVERIFY_THROWS_EXCEPTION(DbError,
                             conn.Execute(u"insert hr_alt (PK_hr_alt) values (newid())"_s));
    conn.Execute(u"insert hr_alt (PK_hr_alt, cPsn_Num, cCode) values (newid(), 'P3', '1')"_s);
    QCOMPARE(tsql(conn, u"select blastflag from hr_alt where cPsn_Num = 'P3'"_s), u"blastflag;1"_s);
    QCOMPARE(native(conn, integrity), u"integrity_check;ok"_s);
    if (newType.contains(u"NOT NULL"_s))
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 conn.Execute(u"update hr_alt set "_s + column + u" = NULL"_s));
}

void TstTranslator::alterColumnRebuildRefusesBadValues()
{
    if (TestDatabase::onPostgres())
        QSKIP("SQLite's own messages and table rebuild");
    TestDatabase db(false);
    Connection &conn = db.conn();
    makeAlterTable(conn);
    conn.BeginTrans();
    try {
        conn.Execute(u"ALTER TABLE hr_alt ALTER COLUMN cName int"_s);
        QFAIL("text converted to a number");
    } catch (const DbError &e) {
        for (const QString &named : {u"hr_alt"_s, u"cName"_s, u"abc"_s})
            QVERIFY2(e.message().contains(named), qPrintable(e.message()));
    }
    // the failed change left nothing behind, and the transaction goes on
    QCOMPARE(declared(conn, u"cName"_s), u"varchar(10)"_s);
    conn.Execute(u"update hr_alt set cName = 'def' where cPsn_Num = 'P1'"_s);
    conn.CommitTrans();
    QCOMPARE(tsql(conn, u"select cName from hr_alt where cPsn_Num = 'P1'"_s), u"cName;def"_s);
    QVERIFY_THROWS_EXCEPTION(
        DbError, conn.Execute(u"ALTER TABLE hr_alt ALTER COLUMN cName char(4) NOT NULL"_s));
    QCOMPARE(native(conn, countOf(u"sqlite_schema"_s, u"name like '%rebuild%'"_s)), u"n;0"_s);
}

// A longer text column takes longer values only; a shorter one the rows do not fit is refused.
void TstTranslator::alterColumnLengthRule()
{
    TestDatabase db(false);
    Connection &conn = db.conn();
    makeAlterTable(conn);
    const QString update = u"update hr_alt set cName = '%1' where cPsn_Num = 'P2'"_s;
    conn.Execute(u"ALTER TABLE hr_alt ALTER COLUMN cName varchar(12) null"_s);
    conn.Execute(update.arg(u"abcdefghijkl"_s));
    QVERIFY_THROWS_EXCEPTION(DbError, conn.Execute(update.arg(u"人事部人事部人"_s)));
    QVERIFY_THROWS_EXCEPTION(DbError,
                             conn.Execute(u"ALTER TABLE hr_alt ALTER COLUMN cName varchar(11)"_s));
    QCOMPARE(tsql(conn, u"select cName from hr_alt order by cPsn_Num"_s),
             u"cName;abc;abcdefghijkl"_s);
}

QTEST_GUILESS_MAIN(TstTranslator)
#include "tst_translator.moc"
