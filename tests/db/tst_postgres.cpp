#include "TestDatabase.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/FieldType.h"
#include "db/PgTranslator.h"

#include <QTest>

using namespace Qt::StringLiterals;
using vorlane::db::adBoolean;
using vorlane::db::DbError;
using vorlane::db::PgStep;
using vorlane::db::PgTranslator;
using vorlane::test::TestDatabase;

namespace {

QString translated(const QString &tsql)
{
    QStringList out;
    for (const PgStep &s : PgTranslator::translate(tsql))
        out << (s.condition.isEmpty() ? s.sql : u"[if] "_s + s.sql);
    return out.join(u" ;; "_s);
}

} // namespace

// The translation is checked as text everywhere; the server checks run where VORLANE_TEST_PG
// names a PostgreSQL server (scripts/test-postgres.sh).
class tst_Postgres : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void translation_data();
    void translation();
    void codesCompareWithoutCase();
    void bitsBlanksAndQuotedNumbers();
    void columnChanges();
    void transactions();
};

void tst_Postgres::translation_data()
{
    QTest::addColumn<QString>("tsql");
    QTest::addColumn<QString>("postgres");
    QTest::newRow("insert without into, N literal")
        << u"insert T (a, b) values (N'张三', 1)"_s << u"insert into T (a, b) values ('张三', 1)"_s;
    QTest::newRow("blank into a column is marked")
        << u"insert T (a) values ('')"_s << u"insert into T (a) values (/*vorlane:blank:t:a*/'')"_s;
    QTest::newRow("blank in update is marked")
        << u"update T set a = '', b = 'x' where c = ''"_s
        << u"update T set a = /*vorlane:blank:t:a*/'', b = 'x' where c = ''"_s;
    QTest::newRow("top") << u"select top 1 * from T where a = 1"_s
                         << u"select * from T where a = 1 LIMIT 1"_s;
    QTest::newRow("quoted alias") << u"select cTableCode '业务代码' from T"_s
                                  << u"select cTableCode \"业务代码\" from T"_s;
    QTest::newRow("bracketed names fold like plain ones")
        << u"select [cTableCode] as [Code] from [dbo].[T]"_s
        << u"select \"ctablecode\" as \"Code\" from \"t\""_s;
    QTest::newRow("delete without from")
        << u"delete T where a = 1"_s << u"delete from T where a = 1"_s;
    QTest::newRow("functions")
        << u"select isnull(a, ''), len(b), substring(c, 2, 3), getdate(), newid() from T"_s
        << u"select coalesce(a, ''), char_length(rtrim(CAST((b) AS text))), substr(c, 2, 3), "
           "LOCALTIMESTAMP(3), gen_random_uuid() from T"_s;
    QTest::newRow("convert to int")
        << u"select CONVERT(int, a) from T"_s
        << u"select CAST(trunc((CASE WHEN btrim(CAST((a) AS text)) = '' THEN 0 ELSE "
           "CAST(btrim(CAST((a) AS text)) AS numeric) END)) AS integer) from T"_s;
    QTest::newRow("drop guard")
        << u"if exists (select * from sysobjects where id = object_id(N'[dbo].[HR_X]') and "
           "OBJECTPROPERTY(id, N'IsUserTable') = 1)  drop table HR_X"_s
        << u"DROP TABLE IF EXISTS HR_X"_s;
    QTest::newRow("create table: key clause without comma, filegroup, collation")
        << u"CREATE TABLE HR_C ( [ccodeID] [varchar] (30) COLLATE Chinese_PRC_CI_AS NOT NULL , "
           "[ilevels] [int] NULL , [bFlag] [bit] NULL Primary Key(ccodeId) ) ON [PRIMARY]"_s
        << u"CREATE TABLE HR_C (\"ccodeid\" citext NOT NULL CONSTRAINT \"vorlane_len_ccodeid\" "
           "CHECK (char_length(\"ccodeid\") <= 30), \"ilevels\" integer NULL, \"bflag\" smallint "
           "NULL, Primary Key(ccodeId)) ;; COMMENT ON COLUMN \"hr_c\".\"ccodeid\" IS "
           "'varchar(30)' ;; COMMENT ON COLUMN \"hr_c\".\"ilevels\" IS 'int' ;; COMMENT ON "
           "COLUMN \"hr_c\".\"bflag\" IS 'bit'"_s;
    QTest::newRow("add several columns")
        << u"ALTER TABLE HR_S ADD a nvarchar(20) null, b int null"_s
        << u"ALTER TABLE HR_S ADD COLUMN \"a\" citext null CONSTRAINT \"vorlane_len_a\" CHECK "
           "(char_length(\"a\") <= 20), ADD COLUMN \"b\" integer null ;; COMMENT ON COLUMN "
           "\"hr_s\".\"a\" IS 'nvarchar(20)' ;; COMMENT ON COLUMN \"hr_s\".\"b\" IS 'int'"_s;
    QTest::newRow("alter column")
        << u"ALTER TABLE HR_S ALTER COLUMN a nvarchar(40) NULL"_s
        << u"ALTER TABLE HR_S DROP CONSTRAINT IF EXISTS \"vorlane_len_a\", ALTER COLUMN \"a\" "
           "TYPE citext USING CAST(CAST(\"a\" AS text) AS citext), ALTER COLUMN \"a\" DROP NOT "
           "NULL, ADD CONSTRAINT \"vorlane_len_a\" CHECK (char_length(\"a\") <= 40) ;; "
           "COMMENT ON COLUMN \"hr_s\".\"a\" IS 'nvarchar(40)'"_s;
    QTest::newRow("drop columns") << u"ALTER TABLE HR_S DROP COLUMN a, b"_s
                                  << u"ALTER TABLE HR_S DROP COLUMN a, DROP COLUMN b"_s;
    QTest::newRow("batch and guarded statement")
        << u"if exists (select 1 from T where a = 1) delete T  insert T (a) values (1)"_s
        << u"[if] delete from T ;; insert into T (a) values (1)"_s;
    QTest::newRow("strings and comments stay") << u"select 'top 1 [x]' /* isnull( */ from T"_s
                                               << u"select 'top 1 [x]' /* isnull( */ from T"_s;
}

void tst_Postgres::translation()
{
    QFETCH(QString, tsql);
    QFETCH(QString, postgres);
    QCOMPARE(translated(tsql), postgres);
}

#define REQUIRE_POSTGRES()                                                                         \
    if (!TestDatabase::onPostgres())                                                               \
        QSKIP("needs a PostgreSQL server: VORLANE_TEST_PG (scripts/test-postgres.sh)");

void tst_Postgres::codesCompareWithoutCase()
{
    REQUIRE_POSTGRES();
    TestDatabase db(false);
    auto &c = db.conn();
    c.Execute(u"CREATE TABLE HR_K ([cCode] [varchar] (10) COLLATE Chinese_PRC_CI_AS NOT NULL, "
              "vName nvarchar(20) NULL Primary Key(cCode))"_s);
    c.Execute(u"insert HR_K (cCode, vName) values ('HR_Abc', N'甲')"_s);
    QCOMPARE(db.scalar(u"select vName from HR_K where cCode = 'hr_abc'"_s).toString(), u"甲"_s);
    QCOMPARE(db.scalar(u"select count(*) from HR_K where cCode like 'hR_a%'"_s).toInt(), 1);
    QCOMPARE(db.scalar(u"select top 1 cCode '业务代码' from HR_K"_s).toString(), u"HR_Abc"_s);
    // the key compares without case too
    QVERIFY_THROWS_EXCEPTION(DbError, c.Execute(u"insert HR_K (cCode) values ('HR_ABC')"_s));
    QVERIFY_THROWS_EXCEPTION(DbError, c.Execute(u"insert HR_K (cCode) values ('HR_TOO_LONG_1')"_s));
}

void tst_Postgres::bitsBlanksAndQuotedNumbers()
{
    REQUIRE_POSTGRES();
    TestDatabase db(false);
    auto &c = db.conn();
    c.Execute(u"create table HR_N (id int not null, iLen int null, cText varchar(10) null)"_s);
    c.Execute(u"insert HR_N (id, iLen, cText) values ('1', '', '')"_s);
    QCOMPARE(db.scalar(u"select iLen from HR_N where id = 1"_s).toInt(), 0);
    QCOMPARE(db.scalar(u"select cText from HR_N where id = 1"_s).toString(), QString());
    QVERIFY(!db.scalar(u"select cText from HR_N where id = 1"_s).isNull());
    c.Execute(u"update HR_N set iLen = '12', cText = '' where id = '1'"_s);
    QCOMPARE(db.scalar(u"select iLen from HR_N"_s).toInt(), 12);
    c.Execute(u"update HR_N set iLen = '' where id = 1"_s);
    QCOMPARE(db.scalar(u"select iLen from HR_N"_s).toInt(), 0);
    QVERIFY_THROWS_EXCEPTION(DbError, c.Execute(u"update HR_N set iLen = 'x' where id = 1"_s));
    // text in arithmetic with a number converts to a number
    c.Execute(u"update HR_N set cText = 'HR_CT041'"_s);
    QCOMPARE(db.scalar(u"select max(CONVERT(char,substring(cText,6,3),105))+1 as mm from HR_N"_s)
                 .toInt(),
             42);

    c.Execute(u"create table HR_B (id int not null, bFlag bit null, iSmall smallint null)"_s);
    c.Execute(u"insert HR_B (id, bFlag, iSmall) values (1, 1, 7)"_s);
    c.Execute(u"insert HR_B (id, bFlag, iSmall) values ('2', '0', '8')"_s);
    auto rs = c.OpenRecordset(u"select bFlag, iSmall from HR_B where bFlag = 1"_s);
    QVERIFY(!rs->Eof());
    QCOMPARE(rs->Fields(u"bFlag").Type(), int(adBoolean));
    QCOMPARE(rs->Fields(u"bFlag").Value(), QVariant(true));
    QCOMPARE(rs->Fields(u"iSmall").Value().toInt(), 7); // smallint stays a number
    // Row loaders read the same values without a QVariant.
    using Plain = vorlane::db::Recordset::Plain;
    QString text;
    int number = -1;
    QCOMPARE(rs->FieldPlain(0, text, number), Plain::Integer);
    QCOMPARE(number, 1);
    auto plain = c.OpenRecordset(u"select cText, iLen, null as cNone from HR_N"_s);
    QCOMPARE(plain->FieldPlain(0, text, number), Plain::Text);
    QCOMPARE(text, u"HR_CT041"_s);
    QCOMPARE(plain->FieldPlain(1, text, number), Plain::Integer);
    QCOMPARE(number, 0);
    QCOMPARE(plain->FieldPlain(2, text, number), Plain::Null);
    QCOMPARE(db.scalar(u"select count(*) from HR_B where isnull(bFlag, 0) = 0"_s).toInt(), 1);
}

void tst_Postgres::columnChanges()
{
    REQUIRE_POSTGRES();
    TestDatabase db(false);
    auto &c = db.conn();
    c.Execute(u"CREATE TABLE HR_S (PK_HR_S uniqueidentifier NOT NULL DEFAULT newid(), "
              "Primary Key(PK_HR_S))"_s);
    c.Execute(u"ALTER TABLE HR_S ADD cName varchar(4) null, nPay numeric(8,2) null, "
              "cNo varchar(10) null"_s);
    c.Execute(u"insert HR_S (cName, nPay, cNo) values (N'张三', 12.5, ' 7')"_s);
    QCOMPARE(db.columns(u"HR_S"_s), (QStringList{u"pk_hr_s"_s, u"cname"_s, u"npay"_s, u"cno"_s}));
    QVERIFY_THROWS_EXCEPTION(DbError, c.Execute(u"update HR_S set cName = '12345'"_s));
    c.Execute(u"ALTER TABLE HR_S ALTER COLUMN cName nvarchar(8) NULL"_s);
    c.Execute(u"update HR_S set cName = '12345'"_s);
    c.Execute(u"ALTER TABLE HR_S ALTER COLUMN cNo int NULL"_s);
    QCOMPARE(db.scalar(u"select cNo + 1 from HR_S"_s).toInt(), 8);
    c.Execute(u"ALTER TABLE HR_S DROP COLUMN nPay, cNo"_s);
    QCOMPARE(db.columns(u"HR_S"_s), (QStringList{u"pk_hr_s"_s, u"cname"_s}));
    c.Execute(u"if exists (select * from sysobjects where id = object_id(N'[dbo].[HR_S]') and "
              "OBJECTPROPERTY(id, N'IsUserTable') = 1)  drop table HR_S"_s);
    QVERIFY(!db.tableExists(u"HR_S"_s));
}

void tst_Postgres::transactions()
{
    REQUIRE_POSTGRES();
    TestDatabase db(false);
    auto &c = db.conn();
    c.Execute(u"create table HR_T (cCode varchar(10) not null primary key)"_s);
    c.BeginTrans();
    c.Execute(u"insert HR_T (cCode) values ('A')"_s);
    QVERIFY_THROWS_EXCEPTION(DbError, c.Execute(u"insert HR_T (cCode) values ('a')"_s));
    QVERIFY_THROWS_EXCEPTION(DbError, c.OpenRecordset(u"select nothing from HR_T"_s));
    c.Execute(u"insert HR_T (cCode) values ('B')"_s); // as on SQL Server, the transaction goes on
    c.CommitTrans();
    QCOMPARE(db.scalar(u"select count(*) from HR_T"_s).toInt(), 2);

    // A rollback undoes DDL as well.
    c.Execute(u"create table HR_R (cCode varchar(10) not null)"_s);
    c.Execute(u"insert HR_R (cCode) values ('A')"_s);
    {
        vorlane::db::TransactionGuard guard(c);
        c.Execute(u"ALTER TABLE HR_R ADD iNum int null"_s);
        c.Execute(u"update HR_R set iNum = 1"_s);
        c.Execute(u"create table HR_R2 (a int)"_s);
        QVERIFY_THROWS_EXCEPTION(DbError, c.Execute(u"insert HR_R (cCode) values (NULL)"_s));
    }
    QCOMPARE(db.columns(u"HR_R"_s), QStringList{u"ccode"_s});
    QVERIFY(!db.tableExists(u"HR_R2"_s));
    QCOMPARE(db.scalar(u"select count(*) from HR_R"_s).toInt(), 1);
}

QTEST_GUILESS_MAIN(tst_Postgres)
#include "tst_postgres.moc"
