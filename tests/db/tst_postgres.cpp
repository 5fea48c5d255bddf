#include "TestDatabase.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/FieldType.h"

#include <QTest>

using namespace Qt::StringLiterals;
using vorlane::db::adBoolean;
using vorlane::db::DbError;
using vorlane::test::TestDatabase;

// The server's own behaviour the other tests take for granted; the whole suite runs on PostgreSQL
// as well.
class tst_Postgres : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bitsBlanksAndQuotedNumbers();
    void transactions();
};

#define REQUIRE_POSTGRES()                                                                         \
    if (!TestDatabase::onPostgres())                                                               \
        QSKIP("needs a PostgreSQL server: VORLANE_TEST_PG (scripts/test-postgres.sh)");

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
