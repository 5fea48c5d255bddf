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

#include <functional>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::ServiceDatabase;

namespace {

// A text with variations, so that each property of a record holds a value of its own. Never a
// number, which integer and bit columns would convert.
QString variant(const QString &text, int n)
{
    return text + u'v' + QString::number(n);
}

// variant(text, from), variant(text, from + 1), ... up to variant(text, to).
QStringList variants(const QString &text, int from, int to)
{
    QStringList values;
    for (int i = from; i <= to; ++i)
        values << variant(text, i);
    return values;
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

    // Information set: every text property, on Add and on Modify.
    clsHrSysSetDict set;
    set.setTableCode(code);
    const QList<std::function<void(clsHrSysSetDict &, const QString &)>> setters{
        &clsHrSysSetDict::setTableName,
        &clsHrSysSetDict::setDescription,
        &clsHrSysSetDict::setTableGroup,
        &clsHrSysSetDict::setTableClass,
        &clsHrSysSetDict::setMultiLevel,
        &clsHrSysSetDict::setCodeFormat,
        &clsHrSysSetDict::setTableType,
        &clsHrSysSetDict::setCycleType,
        &clsHrSysSetDict::setBusinessFlag,
        &clsHrSysSetDict::setFunctionFlag,
        &clsHrSysSetDict::setSFlag,
        &clsHrSysSetDict::setParentTable,
        &clsHrSysSetDict::setCFlag,
        &clsHrSysSetDict::setDFlag,
        &clsHrSysSetDict::setShowOrder,
        &clsHrSysSetDict::setDisplayItem,
        &clsHrSysSetDict::setMainKey,
        &clsHrSysSetDict::setMemo};
    for (int i = 0; i < setters.size(); ++i)
        setters[i](set, variant(text, i));
    clsHrSysSetDictsFace sets;
    QVERIFY2(sets.Add(set, u"1"_s, true), qPrintable(sets.lastError()));
    QCOMPARE(sdb.texts(u"select vTableName, vdescription, iTableGroup, iTableClass, bMultiLevel, "
                       "vCodeFormat, iTableType, icycleType, iBusinessFlag, iFunctionScope, "
                       "bsysFlag, vParentTable, bChildFlag, bdelFlag, ishowOrder, vdisplayItem, "
                       "vMainKey, vMemo from hr_sys_setdict where cTableCode='HR_ODD'"_s),
             variants(text, 0, 17));
    QCOMPARE(sdb.texts(u"select Tabledefine, Tabletype from Rpt_GRPDEF where Tablename='HR_ODD'"_s),
             (QStringList{variant(text, 0), variant(text, 2)}));
    set.setTableName(variant(text, 50));
    set.setMemo(variant(text, 51));
    QVERIFY2(sets.Modify(set, u"1"_s, true), qPrintable(sets.lastError()));
    QCOMPARE(sdb.texts(u"select vTableName, vMemo from hr_sys_setdict where cTableCode='HR_ODD'"_s),
             (QStringList{variant(text, 50), variant(text, 51)}));
    QCOMPARE(sdb.texts(u"select cBusObName from AA_BusObject where cBusObId='HR_ODD'"_s),
             QStringList{variant(text, 50)});

    // Information item.
    clsHrSysItemDict item;
    item.setTableCode(code);
    item.setItemCode(u"cOdd"_s);
    item.setItemname(variant(text, 0));
    item.setDescription(variant(text, 1));
    item.setItemtype(variant(text, 2));
    item.setLastLevelFalg(variant(text, 3));
    item.setItemlen(variant(text, 4));
    item.setItemdec(variant(text, 5));
    item.setSdefault(variant(text, 6));
    item.setSformat(variant(text, 7));
    item.setMemo(variant(text, 8));
    item.setDisplay(1);
    clsHrSysItemDictsFace items;
    QVERIFY2(items.Add(item, variant(text, 9), false, clsHrSysDataTypes()),
             qPrintable(items.lastError()));
    const QString itemQuery = u"select vItemName, vdescription, iItemType, bLastLevelFlag, "
                              "iItemLen, iItemDec, vDefault, vFormat, vMemo from hr_sys_itemdict "
                              "where cTableCode='HR_ODD' and cItemCode='cOdd'"_s;
    QStringList expected = variants(text, 0, 8);
    QCOMPARE(sdb.texts(itemQuery), expected);
    QCOMPARE(sdb.texts(u"select TableDef, FieldDef from Rpt_ItmDEF where TableName='HR_ODD'"_s),
             (QStringList{variant(text, 9), variant(text, 0)}));
    item.setItemname(variant(text, 20));
    item.setSdefault(variant(text, 21));
    QVERIFY2(items.Modify(item), qPrintable(items.lastError()));
    expected[0] = variant(text, 20);
    expected[6] = variant(text, 21);
    QCOMPARE(sdb.texts(itemQuery), expected);
    QCOMPARE(sdb.texts(u"select cCaption from AA_Columndic where cKey='HR_ODD'"_s),
             QStringList{variant(text, 20)});

    // Code.
    clsHrCTsFace cts;
    QVERIFY2(cts.CreateTable(u"HR_CT901"_s), qPrintable(cts.lastError()));
    clsHrCT c;
    c.setCodeId(u"01"_s);
    c.setDescription(variant(text, 0));
    c.setSimpleName(variant(text, 1));
    c.setSimpleSpell(variant(text, 2));
    c.setPCodeId(variant(text, 3));
    c.setSFlag(variant(text, 4));
    c.setCFlag(variant(text, 5));
    c.setHideFlag(variant(text, 6));
    c.setMemo(variant(text, 7));
    QVERIFY2(cts.Add(c, u"HR_CT901"_s), qPrintable(cts.lastError()));
    QCOMPARE(sdb.texts(u"select vdescription, vsimpleName, vsimpleSpell, cpCodeID, bsysFlag, "
                       "bChildFlag, bhideFlag, vMemo from HR_CT901"_s),
             variants(text, 0, 7));
    c.setDescription(variant(text, 10));
    c.setHideFlag(variant(text, 11));
    QVERIFY2(cts.Modify(c, u"HR_CT901"_s), qPrintable(cts.lastError()));
    QCOMPARE(sdb.texts(u"select vdescription, bhideFlag from HR_CT901"_s),
             (QStringList{variant(text, 10), variant(text, 11)}));

    // Table group.
    clsHrSystGroupFace groups;
    clsHrSystGroup g;
    g.setTableGroup(variant(text, 0));
    g.setDescription(variant(text, 1));
    g.setMemo(variant(text, 2));
    QVERIFY2(groups.Add(g), qPrintable(groups.lastError()));
    g.setDescription(variant(text, 3));
    QVERIFY2(groups.Modify(g, variant(text, 0)), qPrintable(groups.lastError()));
    QCOMPARE(sdb.texts(u"select vDescription, vmemo from hr_sys_tgroup where iTableGroup = '"_s
                       + services::sqlText(variant(text, 0)) + u"'"_s),
             (QStringList{variant(text, 3), variant(text, 2)}));
}

void TestBadInput::badIdentifiersNeverReachAStatement_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("leading digit") << u"1abc"_s;
    QTest::newRow("blank inside") << u"a b"_s;
    QTest::newRow("trailing blank") << u"HR_CT001 "_s;
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
    ServiceDatabase sdb;
    clsHrSysSetDictsFace sets;
    clsHrSysItemDictsFace items;
    clsHrCTsFace cts;
    clsHrSysDataTypes types;
    QVERIFY(types.Load(u"select * from hr_sys_datatype"_s));
    const auto changes = sdb.totalChanges();
    const int tables = sdb.objectCount();

    clsHrSysSetDict set;
    set.setTableCode(name);
    clsHrSysItemDict badTable;
    badTable.setTableCode(name);
    badTable.setItemCode(u"cName"_s);
    badTable.setDisplay(1);
    clsHrSysItemDict badItem = badTable;
    badItem.setTableCode(u"hr_hi_person"_s);
    badItem.setItemCode(name);
    clsHrSysItemDict badReference = badItem;
    badReference.setItemCode(u"cName"_s);
    badReference.setReferenceObj(name);
    clsHrCT code;
    code.setCodeId(u"01"_s);

    // Refused, with an error naming the rejected value (or its beginning, for a long one).
    const auto refused = [&](const auto &face, bool ok) {
        return !ok && face.lastError().contains(name.left(20))
               && face.lastError().contains(u"不合法"_s);
    };
    QVERIFY(refused(sets, sets.CreateTable(name, u"R1"_s)));
    QVERIFY(refused(sets, sets.Add(set, u"1"_s, true)));
    QVERIFY(refused(sets, sets.Modify(set, u"1"_s, true)));
    QVERIFY(refused(sets, sets.ModifyDelFlag(name)));
    QVERIFY(refused(sets, sets.Delete(name)));
    for (const clsHrSysItemDict &item : {badTable, badItem, badReference}) {
        QVERIFY(refused(items, items.Add(item, u"x"_s, true, types)));
        QVERIFY(refused(items, items.Modify(item)));
    }
    QVERIFY(refused(items, items.Delete(name)));
    QVERIFY(refused(items, items.DeleteItem(u"hr_hi_person"_s, name)));
    QVERIFY(refused(items, items.ModifyDelFlag(name, u"cName"_s)));
    QVERIFY(refused(cts, cts.CreateTable(name)));
    QVERIFY(refused(cts, cts.Add(code, name)));
    QVERIFY(refused(cts, cts.Modify(code, name)));
    QVERIFY(refused(cts, cts.Delete(name, u"01"_s)));
    QVERIFY_THROWS_EXCEPTION(services::SqlInputError, sets.DropTable(name));

    QCOMPARE(sdb.totalChanges(), changes);
    QCOMPARE(sdb.objectCount(), tables);
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
    QCOMPARE(sdb.values(u"select ccodeID from HR_CT901 order by ccodeID"_s),
             (QStringList{u"1"_s, u"2"_s}));

    // Codes with LIKE pattern characters are refused.
    const auto changes = sdb.totalChanges();
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
