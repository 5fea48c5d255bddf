#include "ServiceDatabase.h"

#include "model/clsHrSysDataTypes.h"
#include "model/clsHrSysItemDict.h"
#include "model/clsHrSysSetDict.h"
#include "services/ColumnStatements.h"
#include "services/clsHrSysItemDictsFace.h"
#include "services/clsHrSysSetDictsFace.h"

#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::itemFrom;
using vorlane::test::ServiceDatabase;

namespace {

// The columns of hr_sys_itemdict in the order itemFrom() takes them.
const QString itemColumns = u"cTableCode, cItemCode, vItemName, vdescription, iItemType, "
                            "vReferenceObj, bLastLevelFlag, iItemLen, iItemDec, bsysFlag, "
                            "brecordFlag, bnullFlag, vDefault, vFormat, bdelFlag, ishowOrder, "
                            "iBusinessFlag, bdefault, bdisplay, vMemo"_s;

clsHrSysItemDict sampleItem(const QString &table, const QString &code)
{
    return itemFrom(
        u"%1 %2 姓名 人员姓名 2 HR_CT001 1 20 0 1 0 1 无 yyyy-mm-dd 0 12 3 0 1 备注"_s.arg(table,
                                                                                           code));
}

clsHrSysDataTypes seedTypes()
{
    clsHrSysDataTypes types;
    types.Load(u"select * from hr_sys_datatype"_s);
    return types;
}

} // namespace

class TestItemDictsFace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addWritesItemAndCatalogues_data();
    void addWritesItemAndCatalogues();
    void blankCodesAndStatementsAreRefused();
    void tableFieldsAndRollback();
    void columnDefinitions_data();
    void columnDefinitions();
    void columnStatementsRejectBadInput();
};

// A displayed item; the hidden and default ones are the statement tests' rows.
void TestItemDictsFace::addWritesItemAndCatalogues_data()
{
    QTest::addColumn<int>("rflag");
    QTest::addColumn<QString>("itemType");
    QTest::addColumn<QString>("fieldType");

    QTest::newRow("rflag 1") << 1 << u"2"_s << u"varchar"_s;
    QTest::newRow("unknown data type") << 0 << u"77"_s << QString();
}

void TestItemDictsFace::addWritesItemAndCatalogues()
{
    QFETCH(int, rflag);
    QFETCH(QString, itemType);
    QFETCH(QString, fieldType);
    ServiceDatabase sdb;
    clsHrSysItemDictsFace face;
    const QString values = u"HR_SET cName 姓名 人员姓名 %1 HR_CT001 1 20 0 1 %2 1 无 yyyy-mm-dd 0 "
                           "12 3 0 1 备注"_s.arg(itemType)
                               .arg(rflag);

    QVERIFY2(face.Add(itemFrom(values), u"测试集"_s, true, seedTypes()),
             qPrintable(face.lastError()));

    QCOMPARE(
        sdb.texts(u"select "_s + itemColumns
                  + u" from hr_sys_itemdict where cTableCode='HR_SET' and cItemCode='cName'"_s),
        values.split(u' '));
    // iColPos is written as the empty text, which an integer column holds as 0.
    QCOMPARE(sdb.texts(u"select cCaption, iColPos, bMustSel from AA_Columndic "
                       "where cKey='HR_SET' and cFld='cName'"_s),
             (QStringList{u"姓名"_s, u"0"_s, QString::number(rflag)}));
    QCOMPARE(sdb.texts(u"select TableDef, FieldDef, FieldType, FieldID from Rpt_ItmDEF "
                       "where TableName='HR_SET' and FieldName='cName'"_s),
             (QStringList{u"测试集"_s, u"姓名"_s, fieldType, u"12"_s}));
}

void TestItemDictsFace::blankCodesAndStatementsAreRefused()
{
    ServiceDatabase sdb;
    clsHrSysItemDictsFace face;
    QVERIFY(face.Add(sampleItem(u"HR_SET"_s, u"cName"_s), u"x"_s, false, seedTypes()));
    const auto before = sdb.totalChanges();

    clsHrSysItemDict blank = sampleItem(u"HR_SET"_s, u"cName"_s);
    blank.setItemCode(u" "_s);
    QVERIFY(!face.Modify(blank));
    QVERIFY(!face.lastError().isEmpty());
    QVERIFY(!face.UpdateTableField(u"  "_s));
    // A statement the database rejects is a failure as well.
    QVERIFY(!face.DeleteTableField(u"ALTER TABLE HR_NONE DROP COLUMN cName"_s));
    QVERIFY(!face.lastError().isEmpty());

    QCOMPARE(sdb.totalChanges(), before);
}

void TestItemDictsFace::tableFieldsAndRollback()
{
    ServiceDatabase sdb;
    clsHrSysSetDict set;
    set.setTableCode(u"HR_SET"_s);
    clsHrSysSetDictsFace sets;
    QVERIFY(sets.Add(set, u"1"_s, true) && sets.CreateTable(u"HR_SET"_s, u"R9"_s));
    const auto types = seedTypes();
    clsHrSysItemDictsFace face;
    const auto column = [](const QString &code, int type, int len, int dec) {
        return itemFrom(u"HR_SET %1 名 说明 %2 x 1 %3 %4 1 0 1 x x 0 1 3 0 1 x"_s.arg(code)
                            .arg(type)
                            .arg(len)
                            .arg(dec));
    };
    clsHrSysItemDict name = column(u"cName"_s, 2, 20, 0);
    clsHrSysItemDict pay = column(u"nPay"_s, 4, 12, 2);
    clsHrSysItemDict born = column(u"dBorn"_s, 5, 20, 0);
    clsHrSysItemDict code = column(u"cSex"_s, 1, 1, 0);

    const QString add
        = ColumnStatements::AddStatement(u"HR_SET"_s, {&name, &pay, &born, &code}, types);
    QVERIFY2(face.InsertTableField(add), qPrintable(face.lastError()));
    QCOMPARE(sdb.tableInfo(u"HR_SET"_s),
             u"pk_hr_set zquid 1 - 1|cname varchar(20) 0 - 0|npay numeric(12,2) 0 - 0|"
             "dborn datetime 0 - 0|csex char(1) 0 - 0"_s.split(u'|'));

    // Length changes are the translator tests' and the statement tests' rows.
    sdb.exec(
        u"insert into HR_SET (PK_HR_SET, cName, nPay) values ('00000001-0000-4000-8000-000000000003', '张三', 1234.5)"_s);
    // A date item has no alter statement at all.
    QVERIFY(ColumnStatements::AlterStatement(born, types).isEmpty());
    QVERIFY2(face.DeleteTableField(ColumnStatements::DropStatement(born)),
             qPrintable(face.lastError()));
    QCOMPARE(sdb.db().columns(u"HR_SET"_s),
             (QStringList{u"pk_hr_set"_s, u"cname"_s, u"npay"_s, u"csex"_s}));

    // The caller's rollback undoes dictionary rows and column changes together.
    QVERIFY(face.Add(name, u"测试集"_s, false, types));
    const QStringList before = sdb.tableInfo(u"HR_SET"_s);
    sdb.conn().BeginTrans();
    clsHrSysItemDict added = column(u"cNew"_s, 2, 20, 0);
    QVERIFY(face.Add(added, u"测试集"_s, false, types));
    QVERIFY(face.InsertTableField(ColumnStatements::AddStatement(u"HR_SET"_s, {&added}, types)));
    name.setItemlen(u"60"_s);
    QVERIFY(face.Modify(name));
    QVERIFY(face.UpdateTableField(ColumnStatements::AlterStatement(name, types)));
    QVERIFY(face.DeleteTableField(ColumnStatements::DropStatement(name)));
    QVERIFY(face.DeleteItem(u"HR_SET"_s, u"cName"_s));
    QCOMPARE(sdb.db().columns(u"HR_SET"_s),
             (QStringList{u"pk_hr_set"_s, u"npay"_s, u"csex"_s, u"cnew"_s}));
    sdb.conn().RollbackTrans();

    QCOMPARE(sdb.tableInfo(u"HR_SET"_s), before);
    QCOMPARE(sdb.texts(u"select cName from HR_SET"_s), QStringList{u"张三"_s});
    QCOMPARE(sdb.count(u"select count(*) from hr_sys_itemdict where cTableCode='HR_SET'"_s), 1);
    QCOMPARE(sdb.count(u"select iItemLen from hr_sys_itemdict where cItemCode='cName'"_s), 20);
    QCOMPARE(sdb.count(u"select count(*) from Rpt_ItmDEF where TableName='HR_SET'"_s), 1);
}

void TestItemDictsFace::columnDefinitions_data()
{
    QTest::addColumn<QString>("input"); // name|data type|fact type|length|decimals
    QTest::addColumn<QString>("add");   // "!": refused
    QTest::addColumn<QString>("alter");

    QTest::newRow("varchar, blanks around length")
        << u"cX| 2 |varchar| 30 |x"_s << u"cX varchar(30)  null "_s << u"cX varchar(30)"_s;
    QTest::newRow("numeric with its own size")
        << u"cX|4|numeric(18,4)|9|3"_s << u"cX numeric(9,3)  null "_s << u"cX numeric(9,3)"_s;
    QTest::newRow("date") << u"cX|5|datetime|8|2"_s << u"cX datetime  null "_s << QString();
    QTest::newRow("blank in name") << u"c X|2|varchar|1|0"_s << u"!"_s << QString();
    QTest::newRow("length breaks out") << u"cX|2|varchar|1)--|0"_s << u"!"_s << QString();
    QTest::newRow("negative decimals") << u"cX|4|numeric|5|-1"_s << u"!"_s << QString();
    QTest::newRow("statement in fact type") << u"cX|3|int; drop||"_s << u"!"_s << QString();
}

void TestItemDictsFace::columnDefinitions()
{
    QFETCH(QString, input);
    QFETCH(QString, add);
    QFETCH(QString, alter);
    const QStringList in = input.split(u'|');
    if (add == u"!"_s) {
        QVERIFY_THROWS_EXCEPTION(
            db::DbError, ColumnStatements::AddDefinition(in[0], in[1], in[2], in[3], in[4]));
        return;
    }
    QCOMPARE(ColumnStatements::AddDefinition(in[0], in[1], in[2], in[3], in[4]), add);
    QCOMPARE(ColumnStatements::AlterDefinition(in[0], in[1], in[2], in[3], in[4]), alter);
    QCOMPARE(ColumnStatements::AlterStatement(u"T"_s, alter).isEmpty(), alter.isEmpty());
}

void TestItemDictsFace::columnStatementsRejectBadInput()
{
    using ST = ColumnStatements;
    QVERIFY(ST::AddStatement(u"T"_s, QStringList{}).isEmpty());

    // An item of a data type nobody knows has no column type.
    ServiceDatabase sdb;
    clsHrSysItemDict odd = sampleItem(u"HR_SET"_s, u"cOdd"_s);
    odd.setItemtype(u"77"_s);
    QVERIFY_THROWS_EXCEPTION(db::DbError, ST::AddDefinition(odd, seedTypes()));
}

int runItemDictsFaceTests(int argc, char **argv)
{
    TestItemDictsFace t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_itemdictsface.moc"
