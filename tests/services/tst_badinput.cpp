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

#include <QSet>
#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::ServiceDatabase;

namespace {

// The text cut to what the narrowest text column holds, 30 bytes of code page 936 (two for a
// character outside ASCII, four outside the basic plane), with a mark of its own.
QString variant(const QString &text, int n)
{
    const QString suffix = u'v' + QString::number(n);
    int room = 30 - int(suffix.size());
    QString head;
    for (qsizetype i = 0; i < text.size();) {
        const bool pair = text.at(i).isHighSurrogate();
        room -= pair ? 4 : text.at(i).unicode() < 0x80 ? 1 : 2;
        if (room < 0)
            break;
        head += text.mid(i, pair ? 2 : 1);
        i += pair ? 2 : 1;
    }
    return head + suffix;
}

} // namespace

class TestBadInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textsRoundTrip_data();
    void textsRoundTrip();
    void badIdentifiersNeverReachAStatement_data();
    void badIdentifiersNeverReachAStatement();
    void servicesCheckIdentifiersFirst();
    void failedCallsLeaveTheTransactionOpen();
};

void TestBadInput::textsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("quotes") << u"O'Brien's ''x'' '"_s;
    QTest::newRow("injection") << u"x'); drop table hr_sys_setdict; --"_s;
    QTest::newRow("translated words") << u"if exists (select * from sysobjects) drop table t "
                                         "top 5 newid() COLLATE Chinese_PRC_CI_AS ON [PRIMARY] "
                                         "N'x' [b] \"q\""_s;
    QTest::newRow("pattern characters") << u"100%_done [a-z]"_s;
    QTest::newRow("control characters") << u"a\\b\nc\td\r"_s;
    QTest::newRow("non-BMP") << u"𠀀𠀁 😀 𝄞 人事"_s;
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
    set.setTableName(variant(text, 0));
    clsHrSysSetDictsFace sets;
    QVERIFY2(sets.Add(set, u"1"_s, true), qPrintable(sets.lastError()));
    QCOMPARE(one(u"select Tabledefine from Rpt_GRPDEF where Tablename='HR_ODD'"_s),
             variant(text, 0));
    set.setMemo(variant(text, 1));
    QVERIFY2(sets.Modify(set, u"1"_s, true), qPrintable(sets.lastError()));
    QCOMPARE(sdb.texts(u"select vTableName, vMemo from hr_sys_setdict where cTableCode='HR_ODD'"_s),
             (QStringList{variant(text, 0), variant(text, 1)}));
    QCOMPARE(one(u"select cBusObName from AA_BusObject where cBusObId='HR_ODD'"_s),
             variant(text, 0));
    // Longer than its column: refused, as the server refuses it, and the row stays as it was.
    set.setTableName(QString(61, u'长'));
    QVERIFY(!sets.Modify(set, u"1"_s, true));
    QVERIFY2(sets.lastError().contains(u"vTableName"_s), qPrintable(sets.lastError()));
    QCOMPARE(one(u"select vTableName from hr_sys_setdict where cTableCode='HR_ODD'"_s),
             variant(text, 0));

    clsHrSysItemDict item;
    item.setTableCode(code);
    item.setItemCode(u"cOdd"_s);
    item.setItemname(variant(text, 2));
    item.setDisplay(1);
    clsHrSysItemDictsFace items;
    QVERIFY2(items.Add(item, variant(text, 3), false, clsHrSysDataTypes()),
             qPrintable(items.lastError()));
    QCOMPARE(sdb.texts(u"select TableDef, FieldDef from Rpt_ItmDEF where TableName='HR_ODD'"_s),
             (QStringList{variant(text, 3), variant(text, 2)}));
    item.setSdefault(variant(text, 4));
    QVERIFY2(items.Modify(item), qPrintable(items.lastError()));
    QCOMPARE(one(u"select vDefault from hr_sys_itemdict where cItemCode='cOdd'"_s),
             variant(text, 4));
    QCOMPARE(one(u"select cCaption from AA_Columndic where cKey='HR_ODD'"_s), variant(text, 2));

    clsHrCTsFace cts;
    QVERIFY2(cts.CreateTable(u"HR_CT901"_s), qPrintable(cts.lastError()));
    clsHrCT c;
    c.setCodeId(u"01"_s);
    c.setDescription(variant(text, 5));
    QVERIFY2(cts.Add(c, u"HR_CT901"_s), qPrintable(cts.lastError()));
    QCOMPARE(one(u"select vdescription from HR_CT901"_s), variant(text, 5));
    c.setMemo(variant(text, 6));
    QVERIFY2(cts.Modify(c, u"HR_CT901"_s), qPrintable(cts.lastError()));
    QCOMPARE(one(u"select vMemo from HR_CT901"_s), variant(text, 6));

    clsHrSystGroupFace groups;
    clsHrSystGroup g;
    const QString group = u"901"_s; // an integer column
    g.setTableGroup(group);
    g.setDescription(variant(text, 7));
    QVERIFY2(groups.Add(g), qPrintable(groups.lastError()));
    g.setMemo(variant(text, 8));
    QVERIFY2(groups.Modify(g, group), qPrintable(groups.lastError()));
    QCOMPARE(sdb.texts(u"select vDescription, vmemo from hr_sys_tgroup where iTableGroup = 901"_s),
             (QStringList{variant(text, 7), variant(text, 8)}));
}

void TestBadInput::badIdentifiersNeverReachAStatement_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("leading digit") << u"1abc"_s;
    QTest::newRow("semicolon") << u"a;drop table hr_sys_setdict"_s;
    QTest::newRow("Chinese") << u"人事表"_s;
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
    const int tables = sdb.objectCount();
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
    QCOMPARE(sdb.objectCount(), tables);
}

void TestBadInput::failedCallsLeaveTheTransactionOpen()
{
    ServiceDatabase sdb;
    clsHrCTsFace cts;
    QVERIFY(cts.CreateTable(u"HR_CT901"_s));
    clsHrCT c;
    c.setDescription(u"x"_s);
    // A failed call leaves the caller's transaction open and working.
    sdb.conn().BeginTrans();
    c.setCodeId(u"01"_s);
    QVERIFY(cts.Add(c, u"HR_CT901"_s));
    QVERIFY(!cts.Add(c, u"HR_CT901"_s));  // duplicate key: a database error
    QVERIFY(!cts.Add(c, u"HR_CT901;"_s)); // invalid name: nothing runs
    QVERIFY(sdb.conn().InTransaction());
    c.setCodeId(u"02"_s);
    QVERIFY(cts.Add(c, u"HR_CT901"_s));
    QCOMPARE(sdb.count(u"select count(*) from HR_CT901"_s), 2);
    sdb.conn().RollbackTrans();
    QCOMPARE(sdb.count(u"select count(*) from HR_CT901"_s), 0);
}

int runBadInputTests(int argc, char **argv)
{
    TestBadInput t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_badinput.moc"
