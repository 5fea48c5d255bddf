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
using vorlane::test::ServiceDatabase;

namespace {

clsHrSysItemDict sampleItem(const QString &table, const QString &code)
{
    clsHrSysItemDict i;
    i.setTableCode(table);
    i.setItemCode(code);
    i.setItemname(u"姓名"_s);
    i.setDescription(u"人员姓名"_s);
    i.setItemtype(u"2"_s);
    i.setReferenceObj(u"HR_CT001"_s);
    i.setLastLevelFalg(u"1"_s);
    i.setItemlen(u"20"_s);
    i.setItemdec(u"0"_s);
    i.setSFlag(1);
    i.setRflag(0);
    i.setNflag(1);
    i.setSdefault(u"无"_s);
    i.setSformat(u"yyyy-mm-dd"_s);
    i.setDFlag(0);
    i.setDisplay(1);
    i.setShowOrder(12);
    i.setBusinessFlag(3);
    i.setDefaultField(0);
    i.setMemo(u"备注"_s);
    return i;
}

clsHrSysDataTypes seedTypes()
{
    clsHrSysDataTypes types;
    types.Load(u"select * from hr_sys_datatype"_s);
    return types;
}

const QString itemColumns = u"cTableCode, cItemCode, vItemName, vdescription, iItemType, "
                            "vReferenceObj, bLastLevelFlag, iItemLen, iItemDec, bsysFlag, "
                            "brecordFlag, bnullFlag, vDefault, vFormat, bdelFlag, ishowOrder, "
                            "iBusinessFlag, bdefault, bdisplay, vMemo"_s;

QStringList itemRow(ServiceDatabase &sdb, const QString &table, const QString &code)
{
    return sdb.texts(u"select "_s + itemColumns + u" from hr_sys_itemdict where cTableCode='"_s
                     + table + u"' and cItemCode='"_s + code + u"'"_s);
}

int rows(ServiceDatabase &sdb, const QString &table, const QString &where)
{
    return sdb.count(u"select count(*) from "_s + table + u" where "_s + where);
}

// An information set with its table, as the set editor leaves it.
void addSet(const QString &code)
{
    clsHrSysSetDict s;
    s.setTableCode(code);
    s.setTableName(u"测试集"_s);
    s.setTableGroup(u"9"_s);
    clsHrSysSetDictsFace face;
    QVERIFY(face.Add(s, u"1"_s, true));
    QVERIFY(face.CreateTable(code, u"R9"_s));
}

} // namespace

class TestItemDictsFace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addWritesCataloguesByFlags_data();
    void addWritesCataloguesByFlags();
    void addWritesEveryColumn();
    void addWithUnknownDataTypeLeavesFieldTypeEmpty();
    void modifyRewritesItemAndDisplayedCatalogue_data();
    void modifyRewritesItemAndDisplayedCatalogue();
    void deleteRemovesAllItemsOfOneSet();
    void deleteItemRemovesOneItem();
    void guardsRefuseBlankCodes();
    void modifyDelFlag();
    void tableFieldsOnTheDatabase();
    void rollbackUndoesRowsAndColumns();
    void emptyColumnStatementFails();
    void columnDefinitions_data();
    void columnDefinitions();
    void columnStatementsRejectBadInput();
};

void TestItemDictsFace::addWritesCataloguesByFlags_data()
{
    QTest::addColumn<int>("defaultField");
    QTest::addColumn<int>("display");
    QTest::addColumn<int>("rflag");
    QTest::addColumn<int>("catalogueRows");
    QTest::addColumn<int>("mustSel");

    QTest::newRow("default, hidden") << 1 << 0 << 0 << 1 << 1;
    QTest::newRow("default ignores rflag") << 1 << 1 << 0 << 1 << 1;
    QTest::newRow("neither default nor displayed") << 0 << 0 << 1 << 0 << -1;
    QTest::newRow("displayed, rflag 0") << 0 << 1 << 0 << 1 << 0;
    QTest::newRow("displayed, rflag 1") << 0 << 1 << 1 << 1 << 1;
}

void TestItemDictsFace::addWritesCataloguesByFlags()
{
    QFETCH(int, defaultField);
    QFETCH(int, display);
    QFETCH(int, rflag);
    QFETCH(int, catalogueRows);
    QFETCH(int, mustSel);
    ServiceDatabase sdb;
    clsHrSysItemDictsFace face;
    clsHrSysItemDict item = sampleItem(u"HR_SET"_s, u"cName"_s);
    item.setDefaultField(qint16(defaultField));
    item.setDisplay(qint16(display));
    item.setRflag(qint16(rflag));

    QVERIFY2(face.Add(item, u"测试集"_s, true, seedTypes()), qPrintable(face.lastError()));

    QCOMPARE(rows(sdb, u"hr_sys_itemdict"_s, u"cTableCode='HR_SET' and cItemCode='cName'"_s), 1);
    QCOMPARE(rows(sdb, u"Rpt_ItmDEF"_s, u"TableName='HR_SET' and FieldName='cName'"_s),
             catalogueRows);
    QCOMPARE(rows(sdb, u"AA_Columndic"_s, u"cKey='HR_SET' and cFld='cName'"_s), catalogueRows);
    if (catalogueRows) {
        // iColPos is written as the empty text, which an integer column holds as 0.
        QCOMPARE(sdb.texts(u"select cCaption, iColPos, bMustSel from AA_Columndic "
                           "where cKey='HR_SET' and cFld='cName'"_s),
                 (QStringList{u"姓名"_s, u"0"_s, QString::number(mustSel)}));
        QCOMPARE(sdb.texts(u"select TableDef, FieldDef, FieldType, FieldID from Rpt_ItmDEF "
                           "where TableName='HR_SET' and FieldName='cName'"_s),
                 (QStringList{u"测试集"_s, u"姓名"_s, u"varchar"_s, u"12"_s}));
    }
}

void TestItemDictsFace::addWritesEveryColumn()
{
    ServiceDatabase sdb;
    clsHrSysItemDictsFace face;
    QVERIFY(face.Add(sampleItem(u"HR_SET"_s, u"cName"_s), u"测试集"_s, false, seedTypes()));
    QCOMPARE(itemRow(sdb, u"HR_SET"_s, u"cName"_s),
             (QStringList{u"HR_SET"_s,   u"cName"_s, u"姓名"_s, u"人员姓名"_s,   u"2"_s,
                          u"HR_CT001"_s, u"1"_s,     u"20"_s,   u"0"_s,          u"1"_s,
                          u"0"_s,        u"1"_s,     u"无"_s,   u"yyyy-mm-dd"_s, u"0"_s,
                          u"12"_s,       u"3"_s,     u"0"_s,    u"1"_s,          u"备注"_s}));
}

void TestItemDictsFace::addWithUnknownDataTypeLeavesFieldTypeEmpty()
{
    ServiceDatabase sdb;
    clsHrSysItemDictsFace face;
    clsHrSysItemDict item = sampleItem(u"HR_SET"_s, u"cName"_s);
    item.setItemtype(u"77"_s);
    QVERIFY(face.Add(item, u"测试集"_s, false, seedTypes()));
    QCOMPARE(sdb.texts(u"select FieldType from Rpt_ItmDEF where FieldName='cName'"_s),
             QStringList{QString()});

    // An empty collection finds no type either.
    item.setItemCode(u"cOther"_s);
    item.setItemtype(u"2"_s);
    QVERIFY(face.Add(item, u"测试集"_s, false, clsHrSysDataTypes()));
    QCOMPARE(sdb.texts(u"select FieldType from Rpt_ItmDEF where FieldName='cOther'"_s),
             QStringList{QString()});
}

void TestItemDictsFace::modifyRewritesItemAndDisplayedCatalogue_data()
{
    QTest::addColumn<int>("display");
    QTest::addColumn<QStringList>("report");
    QTest::addColumn<QStringList>("auth");

    // The item was added displayed, as varchar "姓名" with bMustSel 0.
    QTest::newRow("displayed") << 1 << QStringList{u"全名"_s, u"numeric"_s}
                               << QStringList{u"全名"_s, u"1"_s};
    QTest::newRow("hidden leaves catalogue")
        << 0 << QStringList{u"姓名"_s, u"varchar"_s} << QStringList{u"姓名"_s, u"0"_s};
}

void TestItemDictsFace::modifyRewritesItemAndDisplayedCatalogue()
{
    QFETCH(int, display);
    QFETCH(QStringList, report);
    QFETCH(QStringList, auth);
    ServiceDatabase sdb;
    clsHrSysItemDictsFace face;
    QVERIFY(face.Add(sampleItem(u"HR_SET"_s, u"cName"_s), u"测试集"_s, false, seedTypes()));

    clsHrSysItemDict changed;
    changed.setTableCode(u"HR_SET"_s);
    changed.setItemCode(u"cName"_s);
    changed.setItemname(u"全名"_s);
    changed.setDescription(u"新说明"_s);
    changed.setLastLevelFalg(u"0"_s);
    changed.setItemlen(u"30"_s);
    changed.setReferenceObj(u"HR_CT002"_s);
    changed.setItemdec(u"2"_s);
    changed.setRflag(1);
    changed.setNflag(0);
    changed.setSFlag(0);
    changed.setSdefault(u"有"_s);
    changed.setSformat(u"yyyy"_s);
    changed.setShowOrder(7);
    changed.setDisplay(qint16(display));
    changed.setMemo(u"新备注"_s);
    // Modify takes the fact type from hr_sys_datatype but never rewrites these:
    changed.setItemtype(u"4"_s);
    changed.setDFlag(1);
    changed.setBusinessFlag(9);
    changed.setDefaultField(1);

    QVERIFY2(face.Modify(changed), qPrintable(face.lastError()));

    QCOMPARE(itemRow(sdb, u"HR_SET"_s, u"cName"_s),
             (QStringList{u"HR_SET"_s,
                          u"cName"_s,
                          u"全名"_s,
                          u"新说明"_s,
                          u"2"_s,
                          u"HR_CT002"_s,
                          u"0"_s,
                          u"30"_s,
                          u"2"_s,
                          u"0"_s,
                          u"1"_s,
                          u"0"_s,
                          u"有"_s,
                          u"yyyy"_s,
                          u"0"_s,
                          u"7"_s,
                          u"3"_s,
                          u"0"_s,
                          QString::number(display),
                          u"新备注"_s}));
    QCOMPARE(sdb.texts(u"select FieldDef, FieldType from Rpt_ItmDEF where FieldName='cName'"_s),
             report);
    QCOMPARE(sdb.texts(u"select cCaption, bMustSel from AA_Columndic where cFld='cName'"_s), auth);
}

void TestItemDictsFace::deleteRemovesAllItemsOfOneSet()
{
    ServiceDatabase sdb;
    clsHrSysItemDictsFace face;
    const auto types = seedTypes();
    QVERIFY(face.Add(sampleItem(u"HR_SET"_s, u"cName"_s), u"x"_s, false, types));
    QVERIFY(face.Add(sampleItem(u"HR_SET"_s, u"cAge"_s), u"x"_s, false, types));
    QVERIFY(face.Add(sampleItem(u"HR_KEEP"_s, u"cName"_s), u"x"_s, false, types));

    QVERIFY2(face.Delete(u"HR_SET"_s), qPrintable(face.lastError()));

    for (const auto &[table, where] : {std::pair{u"hr_sys_itemdict"_s, u"cTableCode='HR_SET'"_s},
                                       std::pair{u"Rpt_ItmDEF"_s, u"TableName='HR_SET'"_s},
                                       std::pair{u"AA_Columndic"_s, u"cKey='HR_SET'"_s}})
        QCOMPARE(rows(sdb, table, where), 0);
    QCOMPARE(rows(sdb, u"hr_sys_itemdict"_s, u"cTableCode='HR_KEEP'"_s), 1);
    QCOMPARE(rows(sdb, u"Rpt_ItmDEF"_s, u"TableName='HR_KEEP'"_s), 1);
    QCOMPARE(rows(sdb, u"AA_Columndic"_s, u"cKey='HR_KEEP'"_s), 1);
}

void TestItemDictsFace::deleteItemRemovesOneItem()
{
    ServiceDatabase sdb;
    clsHrSysItemDictsFace face;
    const auto types = seedTypes();
    QVERIFY(face.Add(sampleItem(u"HR_SET"_s, u"cName"_s), u"x"_s, false, types));
    QVERIFY(face.Add(sampleItem(u"HR_SET"_s, u"cAge"_s), u"x"_s, false, types));
    QVERIFY(face.Add(sampleItem(u"HR_KEEP"_s, u"cName"_s), u"x"_s, false, types));

    QVERIFY2(face.DeleteItem(u"HR_SET"_s, u"cName"_s), qPrintable(face.lastError()));

    QCOMPARE(rows(sdb, u"hr_sys_itemdict"_s, u"cTableCode='HR_SET'"_s), 1);
    QCOMPARE(rows(sdb, u"Rpt_ItmDEF"_s, u"TableName='HR_SET' and FieldName='cName'"_s), 0);
    QCOMPARE(rows(sdb, u"AA_Columndic"_s, u"cKey='HR_SET' and cFld='cName'"_s), 0);
    QCOMPARE(rows(sdb, u"Rpt_ItmDEF"_s, u"FieldName='cName'"_s), 1);
    QCOMPARE(rows(sdb, u"AA_Columndic"_s, u"cFld='cAge'"_s), 1);
}

void TestItemDictsFace::guardsRefuseBlankCodes()
{
    ServiceDatabase sdb;
    clsHrSysItemDictsFace face;
    QVERIFY(face.Add(sampleItem(u"HR_SET"_s, u"cName"_s), u"x"_s, false, seedTypes()));
    const int before = sdb.totalChanges();

    QVERIFY(!face.Delete(u" "_s));
    QVERIFY(!face.DeleteItem(u"HR_SET"_s, u"   "_s));
    QVERIFY(!face.DeleteItem(QString(), u"cName"_s));
    QVERIFY(!face.ModifyDelFlag(u"HR_SET"_s, QString()));
    clsHrSysItemDict blank = sampleItem(u"HR_SET"_s, u" "_s);
    QVERIFY(!face.Modify(blank));
    QVERIFY(!face.lastError().isEmpty());

    QCOMPARE(sdb.totalChanges(), before);
}

void TestItemDictsFace::modifyDelFlag()
{
    ServiceDatabase sdb;
    clsHrSysItemDictsFace face;
    QVERIFY(face.Add(sampleItem(u"HR_SET"_s, u"cName"_s), u"x"_s, false, seedTypes()));
    QVERIFY(face.Add(sampleItem(u"HR_SET"_s, u"cAge"_s), u"x"_s, false, seedTypes()));
    QVERIFY(face.ModifyDelFlag(u"HR_SET"_s, u"cName"_s));
    QCOMPARE(sdb.count(u"select bdelFlag from hr_sys_itemdict where cItemCode='cName'"_s), 1);
    QCOMPARE(sdb.count(u"select bdelFlag from hr_sys_itemdict where cItemCode='cAge'"_s), 0);
    QCOMPARE(rows(sdb, u"Rpt_ItmDEF"_s, u"FieldName='cName'"_s), 1);
}

void TestItemDictsFace::tableFieldsOnTheDatabase()
{
    ServiceDatabase sdb;
    addSet(u"HR_SET"_s);
    const auto types = seedTypes();
    clsHrSysItemDictsFace face;

    clsHrSysItemDict name = sampleItem(u"HR_SET"_s, u"cName"_s);
    clsHrSysItemDict pay = sampleItem(u"HR_SET"_s, u"nPay"_s);
    pay.setItemtype(u"4"_s);
    pay.setItemlen(u"12"_s);
    pay.setItemdec(u"2"_s);
    clsHrSysItemDict born = sampleItem(u"HR_SET"_s, u"dBorn"_s);
    born.setItemtype(u"5"_s);
    clsHrSysItemDict code = sampleItem(u"HR_SET"_s, u"cSex"_s);
    code.setItemtype(u"1"_s);
    code.setItemlen(u"1"_s);

    const QString add
        = ColumnStatements::AddStatement(u"HR_SET"_s, {&name, &pay, &born, &code}, types);
    QVERIFY2(face.InsertTableField(add), qPrintable(face.lastError()));
    QCOMPARE(sdb.tableInfo(u"HR_SET"_s),
             (QStringList{u"pk_hr_set zquid 1 - 1"_s,
                          u"cname varchar(20) 0 - 0"_s,
                          u"npay numeric(12,2) 0 - 0"_s,
                          u"dborn datetime 0 - 0"_s,
                          u"csex char(1) 0 - 0"_s}));

    // Lengths grow in place; the data stays.
    sdb.exec(u"insert into HR_SET (PK_HR_SET, cName, nPay) values ('1', '张三', 1234.5)"_s);
    name.setItemlen(u"40"_s);
    QVERIFY2(face.UpdateTableField(ColumnStatements::AlterStatement(name, types)),
             qPrintable(face.lastError()));
    pay.setItemlen(u"15"_s);
    pay.setItemdec(u"3"_s);
    QVERIFY(face.UpdateTableField(ColumnStatements::AlterStatement(pay, types)));
    QCOMPARE(sdb.tableInfo(u"HR_SET"_s).mid(1, 2),
             (QStringList{u"cname varchar(40) 0 - 0"_s, u"npay numeric(15,3) 0 - 0"_s}));
    QCOMPARE(sdb.texts(u"select cName, nPay from HR_SET"_s), (QStringList{u"张三"_s, u"1234.5"_s}));

    // A date item has no alter statement at all.
    QVERIFY(ColumnStatements::AlterStatement(born, types).isEmpty());

    QVERIFY2(face.DeleteTableField(ColumnStatements::DropStatement(born)),
             qPrintable(face.lastError()));
    QVERIFY(!sdb.db().columns(u"HR_SET"_s).contains(u"dborn"_s));
    QCOMPARE(sdb.db().columns(u"HR_SET"_s).size(), 4);
}

void TestItemDictsFace::rollbackUndoesRowsAndColumns()
{
    ServiceDatabase sdb;
    addSet(u"HR_SET"_s);
    const auto types = seedTypes();
    clsHrSysItemDictsFace face;
    clsHrSysItemDict old = sampleItem(u"HR_SET"_s, u"cOld"_s);
    QVERIFY(face.Add(old, u"测试集"_s, false, types));
    QVERIFY(face.InsertTableField(ColumnStatements::AddStatement(u"HR_SET"_s, {&old}, types)));
    sdb.exec(u"insert into HR_SET (PK_HR_SET, cOld) values ('1', 'kept')"_s);
    const QStringList before = sdb.tableInfo(u"HR_SET"_s);

    sdb.conn().BeginTrans();
    clsHrSysItemDict added = sampleItem(u"HR_SET"_s, u"cNew"_s);
    QVERIFY(face.Add(added, u"测试集"_s, false, types));
    QVERIFY(face.InsertTableField(ColumnStatements::AddStatement(u"HR_SET"_s, {&added}, types)));
    old.setItemlen(u"60"_s);
    QVERIFY(face.Modify(old));
    QVERIFY(face.UpdateTableField(ColumnStatements::AlterStatement(old, types)));
    QVERIFY(face.DeleteTableField(ColumnStatements::DropStatement(old)));
    QVERIFY(face.DeleteItem(u"HR_SET"_s, u"cOld"_s));
    QCOMPARE(sdb.db().columns(u"HR_SET"_s), (QStringList{u"pk_hr_set"_s, u"cnew"_s}));
    sdb.conn().RollbackTrans();

    QCOMPARE(sdb.tableInfo(u"HR_SET"_s), before);
    QCOMPARE(sdb.texts(u"select cOld from HR_SET"_s), QStringList{u"kept"_s});
    QCOMPARE(rows(sdb, u"hr_sys_itemdict"_s, u"cTableCode='HR_SET'"_s), 1);
    QCOMPARE(sdb.count(u"select iItemLen from hr_sys_itemdict where cItemCode='cOld'"_s), 20);
    QCOMPARE(rows(sdb, u"Rpt_ItmDEF"_s, u"TableName='HR_SET'"_s), 1);
}

void TestItemDictsFace::emptyColumnStatementFails()
{
    ServiceDatabase sdb;
    clsHrSysItemDictsFace face;
    QVERIFY(!face.InsertTableField(QString()));
    QVERIFY(!face.UpdateTableField(u"  "_s));
    QVERIFY(!face.DeleteTableField(QString()));
    QVERIFY(!face.lastError().isEmpty());
    // A statement the database rejects is a failure as well.
    QVERIFY(!face.DeleteTableField(u"ALTER TABLE HR_NONE DROP COLUMN cName"_s));
}

void TestItemDictsFace::columnDefinitions_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("fact");
    QTest::addColumn<QString>("len");
    QTest::addColumn<QString>("dec");
    QTest::addColumn<QString>("add");
    QTest::addColumn<QString>("alter");

    QTest::newRow("char") << u"1"_s << u"char"_s << u"8"_s << u"0"_s << u"cX char(8)  null "_s
                          << u"cX char(8)"_s;
    QTest::newRow("varchar, blanks around length")
        << u" 2 "_s << u"varchar"_s << u" 30 "_s << u"x"_s << u"cX varchar(30)  null "_s
        << u"cX varchar(30)"_s;
    QTest::newRow("numeric") << u"4"_s << u"numeric"_s << u"10"_s << u"2"_s
                             << u"cX numeric(10,2)  null "_s << u"cX numeric(10,2)"_s;
    QTest::newRow("numeric with its own size")
        << u"4"_s << u"numeric(18,4)"_s << u"9"_s << u"3"_s << u"cX numeric(9,3)  null "_s
        << u"cX numeric(9,3)"_s;
    QTest::newRow("date") << u"5"_s << u"datetime"_s << u"8"_s << u"2"_s << u"cX datetime  null "_s
                          << QString();
    QTest::newRow("integer") << u"3"_s << u"int"_s << u""_s << u""_s << u"cX int  null "_s
                             << QString();
}

void TestItemDictsFace::columnDefinitions()
{
    QFETCH(QString, type);
    QFETCH(QString, fact);
    QFETCH(QString, len);
    QFETCH(QString, dec);
    QFETCH(QString, add);
    QFETCH(QString, alter);
    QCOMPARE(ColumnStatements::AddDefinition(u"cX"_s, type, fact, len, dec), add);
    QCOMPARE(ColumnStatements::AlterDefinition(u"cX"_s, type, fact, len, dec), alter);
    QCOMPARE(ColumnStatements::AlterStatement(u"T"_s, alter).isEmpty(), alter.isEmpty());
}

void TestItemDictsFace::columnStatementsRejectBadInput()
{
    using ST = ColumnStatements;
    QVERIFY_THROWS_EXCEPTION(db::DbError,
                             ST::AddDefinition(u"c X"_s, u"2"_s, u"varchar"_s, u"1"_s, u"0"_s));
    QVERIFY_THROWS_EXCEPTION(db::DbError,
                             ST::AddDefinition(u"cX"_s, u"2"_s, u"varchar"_s, u"1)--"_s, u"0"_s));
    QVERIFY_THROWS_EXCEPTION(db::DbError,
                             ST::AddDefinition(u"cX"_s, u"4"_s, u"numeric"_s, u"5"_s, u"-1"_s));
    QVERIFY_THROWS_EXCEPTION(db::DbError,
                             ST::AddDefinition(u"cX"_s, u"3"_s, u"int; drop"_s, u""_s, u""_s));
    QVERIFY_THROWS_EXCEPTION(db::DbError, ST::AddStatement(u"T;"_s, QStringList{u"a int"_s}));
    QVERIFY_THROWS_EXCEPTION(db::DbError, ST::DropStatement(u"T"_s, u"x'"_s));
    QVERIFY(ST::AddStatement(u"T"_s, QStringList{}).isEmpty());
    QCOMPARE(ST::AddStatement(u"T"_s, {u"a int  null "_s, u"b int  null "_s}),
             u"ALTER TABLE T ADD a int  null ,b int  null "_s);
    QCOMPARE(ST::DropStatement(u"T"_s, u"b"_s), u"ALTER TABLE T DROP COLUMN b"_s);

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
