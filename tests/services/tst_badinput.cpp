#include "ServiceDatabase.h"

#include "model/clsHrCT.h"
#include "model/clsHrSysDataTypes.h"
#include "model/clsHrSysItemDict.h"
#include "model/clsHrSysSetDict.h"
#include "model/clsHrSystGroup.h"
#include "services/Sql.h"
#include "services/clsHrCTsFace.h"
#include "services/clsHrSysItemDictsFace.h"
#include "services/clsHrSysSetDictsFace.h"
#include "services/clsHrSystGroupFace.h"

#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::ServiceDatabase;

class TestBadInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textsRoundTrip_data();
    void textsRoundTrip();
    void badIdentifiersNeverReachAStatement_data();
    void badIdentifiersNeverReachAStatement();
    void servicesCheckIdentifiersFirst();
    void codeTableKeysAndTransactions();
};

void TestBadInput::textsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("quotes") << u"O'Brien's ''x'' '"_s;
    QTest::newRow("semicolons") << u"a; delete from hr_sys_setdict; b"_s;
    QTest::newRow("comment markers") << u"/* not a comment */ -- nor this"_s;
    QTest::newRow("injection") << u"x'); drop table hr_sys_setdict; --"_s;
    QTest::newRow("translated words") << u"if exists (select * from sysobjects) drop table t "
                                         "top 5 newid() COLLATE Chinese_PRC_CI_AS ON [PRIMARY] "
                                         "N'x' [b] \"q\""_s;
    QTest::newRow("pattern characters") << u"100%_done [a-z]"_s;
    QTest::newRow("control characters") << u"a\\b\nc\td\r"_s;
    QTest::newRow("non-BMP") << u"𠀀𠀁 😀 𝄞 人事"_s;
    QTest::newRow("10000 characters") << QString(9998, u'长') + u"'x"_s;
    QTest::newRow("empty") << QString();
}

void TestBadInput::textsRoundTrip()
{
    QFETCH(QString, text);
    ServiceDatabase sdb;
    const QString code = u"HR_ODD"_s;
    const auto one = [&](const QString &sql) { return sdb.texts(sql).value(0); };

    // A text property of each service's record, on Add and on Modify.
    clsHrSysSetDict set;
    set.setTableCode(code);
    set.setTableName(text);
    clsHrSysSetDictsFace sets;
    QVERIFY2(sets.Add(set, u"1"_s, true), qPrintable(sets.lastError()));
    QCOMPARE(one(u"select Tabledefine from Rpt_GRPDEF where Tablename='HR_ODD'"_s), text);
    set.setMemo(text);
    QVERIFY2(sets.Modify(set, u"1"_s, true), qPrintable(sets.lastError()));
    QCOMPARE(sdb.texts(u"select vTableName, vMemo from hr_sys_setdict where cTableCode='HR_ODD'"_s),
             (QStringList{text, text}));
    QCOMPARE(one(u"select cBusObName from AA_BusObject where cBusObId='HR_ODD'"_s), text);

    clsHrSysItemDict item;
    item.setTableCode(code);
    item.setItemCode(u"cOdd"_s);
    item.setItemname(text);
    item.setDisplay(1);
    clsHrSysItemDictsFace items;
    QVERIFY2(items.Add(item, text, false, clsHrSysDataTypes()), qPrintable(items.lastError()));
    QCOMPARE(sdb.texts(u"select TableDef, FieldDef from Rpt_ItmDEF where TableName='HR_ODD'"_s),
             (QStringList{text, text}));
    item.setSdefault(text);
    QVERIFY2(items.Modify(item), qPrintable(items.lastError()));
    QCOMPARE(one(u"select vDefault from hr_sys_itemdict where cItemCode='cOdd'"_s), text);
    QCOMPARE(one(u"select cCaption from AA_Columndic where cKey='HR_ODD'"_s), text);

    clsHrCTsFace cts;
    QVERIFY2(cts.CreateTable(u"HR_CT901"_s), qPrintable(cts.lastError()));
    clsHrCT c;
    c.setCodeId(u"01"_s);
    c.setDescription(text);
    QVERIFY2(cts.Add(c, u"HR_CT901"_s), qPrintable(cts.lastError()));
    QCOMPARE(one(u"select vdescription from HR_CT901"_s), text);
    c.setMemo(text);
    QVERIFY2(cts.Modify(c, u"HR_CT901"_s), qPrintable(cts.lastError()));
    QCOMPARE(one(u"select vMemo from HR_CT901"_s), text);

    clsHrSystGroupFace groups;
    clsHrSystGroup g;
    g.setTableGroup(text);
    g.setDescription(text);
    QVERIFY2(groups.Add(g), qPrintable(groups.lastError()));
    g.setMemo(text);
    QVERIFY2(groups.Modify(g, text), qPrintable(groups.lastError()));
    QCOMPARE(sdb.texts(u"select vDescription, vmemo from hr_sys_tgroup where iTableGroup = '"_s
                       + services::sqlText(text) + u"'"_s),
             (QStringList{text, text}));
}

void TestBadInput::badIdentifiersNeverReachAStatement_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("leading digit") << u"1abc"_s;
    QTest::newRow("blank inside") << u"a b"_s;
    QTest::newRow("semicolon") << u"a;drop table hr_sys_setdict"_s;
    QTest::newRow("quote") << u"a'b"_s;
    QTest::newRow("comment") << u"a--"_s;
    QTest::newRow("block comment") << u"a/*"_s;
    QTest::newRow("bracket") << u"a]"_s;
    QTest::newRow("hyphen") << u"a-b"_s;
    QTest::newRow("Chinese") << u"人事表"_s;
    QTest::newRow("non-BMP") << u"a𠀀"_s;
    QTest::newRow("newline") << u"a\nb"_s;
    QTest::newRow("full-width letters") << u"ＡＢ"_s;
    QTest::newRow("long") << QString(10000, u'x') + u"!"_s;
}

void TestBadInput::badIdentifiersNeverReachAStatement()
{
    QFETCH(QString, name);
    QVERIFY(!services::isIdentifier(name));
    try {
        services::checkedIdentifier(name, u"表名"_s);
        QFAIL("accepted");
    } catch (const services::SqlInputError &e) {
        // The error names what was rejected (the beginning of a long value).
        QVERIFY2(e.message().startsWith(u"表名“"_s + name.left(20)), qPrintable(e.message()));
        QVERIFY(e.message().contains(u"不合法"_s));
    }
    QCOMPARE(services::checkedIdentifier(u"_HR_CT001"_s), u"_HR_CT001"_s);
}

void TestBadInput::servicesCheckIdentifiersFirst()
{
    ServiceDatabase sdb;
    const QString name = u"HR_X;drop table hr_sys_setdict"_s;
    const int changes = sdb.totalChanges();
    const int tables = sdb.count(u"select count(*) from sqlite_master"_s);
    const auto refused = [&](const auto &face, bool ok) {
        return !ok && face.lastError().contains(name) && face.lastError().contains(u"不合法"_s);
    };
    clsHrSysSetDictsFace sets;
    QVERIFY(refused(sets, sets.CreateTable(name, u"R1"_s)));
    clsHrSysItemDict item;
    item.setTableCode(u"hr_hi_person"_s);
    item.setItemCode(name);
    item.setDisplay(1);
    clsHrSysItemDictsFace items;
    QVERIFY(refused(items, items.Add(item, u"x"_s, true, clsHrSysDataTypes())));
    clsHrCTsFace cts;
    QVERIFY(refused(cts, cts.CreateTable(name)));
    QCOMPARE(sdb.totalChanges(), changes);
    QCOMPARE(sdb.count(u"select count(*) from sqlite_master"_s), tables);
}

void TestBadInput::codeTableKeysAndTransactions()
{
    ServiceDatabase sdb;
    clsHrCTsFace cts;
    QVERIFY(cts.CreateTable(u"HR_CT901"_s));
    clsHrCT c;
    c.setDescription(u"x"_s);
    for (const QString &id : {u"1'"_s, u"1'2"_s, u"1"_s, u"2"_s}) {
        c.setCodeId(id);
        QVERIFY2(cts.Add(c, u"HR_CT901"_s), qPrintable(cts.lastError()));
    }
    c.setCodeId(u"1'"_s);
    c.setHideFlag(u"1"_s);
    QVERIFY(cts.Modify(c, u"HR_CT901"_s));
    QCOMPARE(sdb.rows(u"HR_CT901"_s, u"bhideFlag='1'"_s), 2);
    QVERIFY(cts.Delete(u"HR_CT901"_s, u"1'"_s));
    QCOMPARE(sdb.texts(u"select group_concat(ccodeID, ',') from "
                       "(select ccodeID from HR_CT901 order by ccodeID)"_s),
             QStringList{u"1,2"_s});

    // Codes with LIKE pattern characters are refused.
    const int changes = sdb.totalChanges();
    for (const QString &id : {u"1%"_s, u"1_"_s, u"[1]"_s, u"%"_s}) {
        c.setCodeId(id);
        QVERIFY2(!cts.Add(c, u"HR_CT901"_s), qPrintable(id));
        QVERIFY2(!cts.Modify(c, u"HR_CT901"_s), qPrintable(id));
        QVERIFY2(!cts.Delete(u"HR_CT901"_s, id), qPrintable(id));
        QVERIFY2(cts.lastError().contains(id), qPrintable(cts.lastError()));
    }
    QCOMPARE(sdb.totalChanges(), changes);

    // A failed call leaves the caller's transaction open and working.
    sdb.conn().BeginTrans();
    c.setCodeId(u"01"_s);
    QVERIFY(cts.Add(c, u"HR_CT901"_s));
    QVERIFY(!cts.Add(c, u"HR_CT901"_s));  // duplicate key: a database error
    QVERIFY(!cts.Add(c, u"HR_CT901;"_s)); // invalid name: nothing runs
    QVERIFY(sdb.conn().InTransaction());
    c.setCodeId(u"02"_s);
    QVERIFY(cts.Add(c, u"HR_CT901"_s));
    QCOMPARE(sdb.count(u"select count(*) from HR_CT901"_s), 4);
    sdb.conn().RollbackTrans();
    QCOMPARE(sdb.count(u"select count(*) from HR_CT901"_s), 2);
}

int runBadInputTests(int argc, char **argv)
{
    TestBadInput t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_badinput.moc"
