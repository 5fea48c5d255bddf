#include "TestDatabase.h"

#include "db/Connection.h"
#include "entry/Defs.h"
#include "model/ModelError.h"
#include "model/clsHrCTs.h"
#include "model/clsHrSysDataFormats.h"
#include "model/clsHrSysDataTypes.h"
#include "model/clsHrSysItemDicts.h"
#include "model/clsHrSysSetDicts.h"
#include "model/clsHrSystGroups.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using namespace vorlane;

namespace {

struct Column
{
    QString name;
    QString type;
    QString value; // SQL literal stored in the row
};

// Every column a record reads, with a column type and a value that loads cleanly. Column names are
// written in other letter cases than the records use, and not in the records' reading order.
QList<Column> layoutOf(const QString &kind)
{
    if (kind == u"setdict")
        return {{u"CTABLECODE"_s, u"varchar(20)"_s, u"'HR001'"_s},
                {u"vtablename"_s, u"nvarchar(40)"_s, u"'人员信息'"_s},
                {u"VDescription"_s, u"nvarchar(80)"_s, u"'说明'"_s},
                {u"iTableGroup"_s, u"int"_s, u"1"_s},
                {u"iTableClass"_s, u"int"_s, u"2"_s},
                {u"iCodeLen"_s, u"int"_s, u"12"_s},
                {u"bmultilevel"_s, u"bit"_s, u"1"_s},
                {u"vCodeFormat"_s, u"varchar(20)"_s, u"'2-2-2'"_s},
                {u"iTableType"_s, u"int"_s, u"3"_s},
                {u"iCycleType"_s, u"int"_s, u"4"_s},
                {u"iBusinessFlag"_s, u"int"_s, u"5"_s},
                {u"iFunctionScope"_s, u"int"_s, u"6"_s},
                {u"bSysFlag"_s, u"bit"_s, u"1"_s},
                {u"vParentTable"_s, u"varchar(20)"_s, u"'HR000'"_s},
                {u"bChildFlag"_s, u"bit"_s, u"0"_s},
                {u"bDelFlag"_s, u"bit"_s, u"0"_s},
                {u"bDisplay"_s, u"bit"_s, u"1"_s},
                {u"iShowOrder"_s, u"int"_s, u"7"_s},
                {u"vDisplayItem"_s, u"varchar(20)"_s, u"'vName'"_s},
                {u"vMainKey"_s, u"varchar(20)"_s, u"'cPsn_Num'"_s},
                {u"VMEMO"_s, u"nvarchar(100)"_s, u"'备注'"_s}};
    if (kind == u"itemdict")
        return {{u"cTableCode"_s, u"varchar(20)"_s, u"'HR001'"_s},
                {u"cItemCode"_s, u"varchar(20)"_s, u"'vName'"_s},
                {u"vDescription"_s, u"nvarchar(80)"_s, u"'说明'"_s},
                {u"vItemName"_s, u"nvarchar(40)"_s, u"'姓名'"_s},
                {u"iItemType"_s, u"int"_s, u"2"_s},
                {u"vReferenceObj"_s, u"varchar(20)"_s, u"'HR_CT001'"_s},
                {u"bLastLevelFlag"_s, u"bit"_s, u"1"_s},
                {u"iItemLen"_s, u"int"_s, u"30"_s},
                {u"iItemDec"_s, u"int"_s, u"2"_s},
                {u"bSysFlag"_s, u"bit"_s, u"1"_s},
                {u"bRecordFlag"_s, u"bit"_s, u"1"_s},
                {u"bNullFlag"_s, u"bit"_s, u"1"_s},
                {u"vDefault"_s, u"nvarchar(40)"_s, u"'无'"_s},
                {u"vFormat"_s, u"varchar(20)"_s, u"'yyyy-mm-dd'"_s},
                {u"bDelFlag"_s, u"bit"_s, u"1"_s},
                {u"bDisplay"_s, u"bit"_s, u"1"_s},
                {u"iShowOrder"_s, u"int"_s, u"12"_s},
                {u"iBusinessFlag"_s, u"int"_s, u"3"_s},
                {u"bDefault"_s, u"bit"_s, u"1"_s},
                {u"vMemo"_s, u"nvarchar(100)"_s, u"'备注'"_s}};
    if (kind == u"code")
        return {{u"cCodeId"_s, u"varchar(20)"_s, u"'0101'"_s},
                {u"vDescription"_s, u"nvarchar(80)"_s, u"'北京'"_s},
                {u"vSimpleName"_s, u"nvarchar(40)"_s, u"'京'"_s},
                {u"vSimpleSpell"_s, u"varchar(40)"_s, u"'BJ'"_s},
                {u"iLevels"_s, u"int"_s, u"2"_s},
                {u"cpCodeId"_s, u"varchar(20)"_s, u"'01'"_s},
                {u"bSysFlag"_s, u"char(1)"_s, u"'1'"_s},
                {u"bChildFlag"_s, u"char(1)"_s, u"'1'"_s},
                {u"bHideFlag"_s, u"char(1)"_s, u"'1'"_s},
                {u"vMemo"_s, u"nvarchar(100)"_s, u"'备注'"_s}};
    if (kind == u"group")
        return {{u"iTableGroup"_s, u"int"_s, u"3"_s},
                {u"vDescription"_s, u"nvarchar(40)"_s, u"'职务'"_s},
                {u"bSysFlag"_s, u"bit"_s, u"1"_s},
                {u"vMemo"_s, u"nvarchar(100)"_s, u"'备注'"_s}};
    if (kind == u"datatype")
        return {{u"Id"_s, u"int"_s, u"13"_s},
                {u"vName"_s, u"varchar(20)"_s, u"'datetime'"_s},
                {u"vFactType"_s, u"varchar(20)"_s, u"'datetime'"_s},
                {u"vDescription"_s, u"nvarchar(40)"_s, u"'日期型'"_s},
                {u"vSimpleSpell"_s, u"varchar(20)"_s, u"'d'"_s},
                {u"vMemo"_s, u"nvarchar(100)"_s, u"'备注'"_s}};
    if (kind == u"dateformat")
        return {{u"Id"_s, u"int"_s, u"3"_s},
                {u"vDateFormat"_s, u"varchar(20)"_s, u"'yyyy年mm月'"_s},
                {u"vMemo"_s, u"nvarchar(100)"_s, u"'备注'"_s}};
    return {};
}

// Creates table `name` with the columns of a record kind; `overrides` replace the type or the
// value of single columns (matched without regard to case), `drop` leaves one column out.
void createTable(db::Connection &conn,
                 const QString &name,
                 const QString &kind,
                 const QList<Column> &overrides = {},
                 const QString &drop = {})
{
    QStringList defs;
    for (const Column &c : layoutOf(kind)) {
        if (c.name.compare(drop, Qt::CaseInsensitive) == 0)
            continue;
        QString type = c.type;
        for (const Column &o : overrides) {
            if (o.name.compare(c.name, Qt::CaseInsensitive) == 0 && !o.type.isEmpty())
                type = o.type;
        }
        defs << c.name + u' ' + type;
    }
    conn.Execute(u"create table "_s + name + u" ("_s + defs.join(u", "_s) + u')');
}

// Inserts one row: the layout's clean values, with `overrides` for single columns.
void insertRow(db::Connection &conn,
               const QString &table,
               const QString &kind,
               const QList<Column> &overrides = {},
               const QString &drop = {})
{
    QStringList names;
    QStringList values;
    for (const Column &c : layoutOf(kind)) {
        if (c.name.compare(drop, Qt::CaseInsensitive) == 0)
            continue;
        QString value = c.value;
        for (const Column &o : overrides) {
            if (o.name.compare(c.name, Qt::CaseInsensitive) == 0)
                value = o.value;
        }
        names << c.name;
        values << value;
    }
    conn.Execute(u"insert into "_s + table + u" ("_s + names.join(u", "_s) + u") values ("_s
                 + values.join(u", "_s) + u')');
}

// One property of a freshly loaded record, as a QVariant (QString or int).
QVariant loadedProperty(const QString &kind, const QString &name, db::Recordset &rs)
{
    if (kind == u"setdict") {
        clsHrSysSetDict r;
        r.LoadFromRecordset(rs);
        const QHash<QString, QVariant> p{{u"TableCode"_s, r.TableCode()},
                                         {u"TableGroup"_s, r.TableGroup()},
                                         {u"CodeLen"_s, int(r.CodeLen())},
                                         {u"MultiLevel"_s, r.MultiLevel()},
                                         {u"sFlag"_s, r.sFlag()},
                                         {u"cFlag"_s, r.cFlag()},
                                         {u"Display"_s, int(r.Display())},
                                         {u"ShowOrder"_s, r.ShowOrder()},
                                         {u"Memo"_s, r.Memo()}};
        return p.value(name);
    }
    if (kind == u"itemdict") {
        clsHrSysItemDict r;
        r.LoadFromRecordset(rs);
        const QHash<QString, QVariant> p{{u"itemname"_s, r.itemname()},
                                         {u"itemtype"_s, r.itemtype()},
                                         {u"LastLevelFalg"_s, r.LastLevelFalg()},
                                         {u"itemlen"_s, r.itemlen()},
                                         {u"sFlag"_s, int(r.sFlag())},
                                         {u"nflag"_s, int(r.nflag())},
                                         {u"ShowOrder"_s, int(r.ShowOrder())},
                                         {u"BusinessFlag"_s, int(r.BusinessFlag())},
                                         {u"sdefault"_s, r.sdefault()}};
        return p.value(name);
    }
    if (kind == u"code") {
        clsHrCT r;
        r.LoadFromRecordset(rs);
        const QHash<QString, QVariant> p{{u"CodeId"_s, r.CodeId()},
                                         {u"Levels"_s, int(r.Levels())},
                                         {u"cFlag"_s, r.cFlag()},
                                         {u"HideFlag"_s, r.HideFlag()}};
        return p.value(name);
    }
    if (kind == u"group") {
        clsHrSystGroup r;
        r.LoadFromRecordset(rs);
        const QHash<QString, QVariant> p{{u"TableGroup"_s, r.TableGroup()},
                                         {u"sFlag"_s, int(r.sFlag())}};
        return p.value(name);
    }
    if (kind == u"datatype") {
        clsHrSysDataType r;
        r.LoadFromRecordset(rs);
        const QHash<QString, QVariant> p{{u"Id"_s, int(r.Id())}, {u"Name"_s, r.Name()}};
        return p.value(name);
    }
    if (kind == u"dateformat") {
        clsHrSysDataFormat r;
        r.LoadFromRecordset(rs);
        const QHash<QString, QVariant> p{{u"Id"_s, int(r.Id())}, {u"DateFormat"_s, r.DateFormat()}};
        return p.value(name);
    }
    return {};
}

// A lone-row table of a record kind in a fresh database.
struct OneRow
{
    OneRow(const QString &kind, const Column &column)
    {
        createTable(db.conn(), u"t"_s, kind, {column});
        insertRow(db.conn(), u"t"_s, kind, {column});
        rs = db.conn().OpenRecordset(u"select * from t"_s);
    }
    test::TestDatabase db{false};
    db::RecordsetPtr rs;
};

} // namespace

class tst_Model : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void newRecordsStartWithTheirDefaults();
    void setterStoresValueUnchanged();
    void setDictLoadsEveryColumn();
    void itemDictLoadsEveryColumn();
    void smallRecordsLoadEveryColumn();
    void conversion_data();
    void conversion();
    void failedLoadKeepsWhatWasReadBefore();
    void missingColumnRaisesAfterEarlierColumns();
    void secondLoadReplacesEveryValue();
    void loadNeitherMovesNorClosesTheRecordset();

    void addAndItemShareTheRecord();
    void keysAreUniqueInAnyLetterCase();
    void recordsWithoutKeyArePositionalOnly();
    void positions_data();
    void positions();
    void removeByPositionAndKey();
    void clearReleasesKeysButNotRecords();
    void iterationFollowsInsertionOrder();

    void loadKeysSetsByTrimmedCode();
    void loadOfNoRowsIsTrue();
    void loadAppendsAndStopsAtDuplicate();
    void loadStopsAtNullKey();
    void loadStopsAtKeyDifferingInCaseOnly();
    void loadKeepsRecordThatFailedPartWay();
    void itemKeysIncludeTheTable();
    void codeKeysKeepTrailingBlanks();
    void numericKeysBecomeText();
    void loadOfBadStatementIsFalse();
    void loadUsesTheSharedConnection();
};

void tst_Model::cleanup()
{
    Defs::instance().connection.reset();
}

void tst_Model::newRecordsStartWithTheirDefaults()
{
    const clsHrSysSetDict set;
    QCOMPARE(set.TableGroup(), u"0"_s);
    QCOMPARE(set.TableClass(), u"1"_s);
    QCOMPARE(set.TableType(), u"1"_s);
    QCOMPARE(set.ShowOrder(), u"9999"_s);
    QCOMPARE(set.BusinessFlag(), u"0"_s);
    QCOMPARE(set.FunctionFlag(), u"0"_s);
    QCOMPARE(set.sFlag(), u"0"_s);
    QCOMPARE(set.dFlag(), u"0"_s);
    QCOMPARE(set.Display(), qint16(0));
    QCOMPARE(set.CodeLen(), 0);
    for (const QString &text : {set.TableCode(),
                                set.TableName(),
                                set.description(),
                                set.MultiLevel(),
                                set.CodeFormat(),
                                set.CycleType(),
                                set.ParentTable(),
                                set.cFlag(),
                                set.DisplayItem(),
                                set.MainKey(),
                                set.Memo()})
        QVERIFY(text.isEmpty());

    const clsHrSysItemDict item;
    QCOMPARE(item.itemlen(), u"0"_s);
    QCOMPARE(item.itemdec(), u"0"_s);
    QCOMPARE(item.ShowOrder(), qint16(99));
    QCOMPARE(item.BusinessFlag(), qint16(4));
    for (qint16 v : {item.sFlag(),
                     item.rflag(),
                     item.nflag(),
                     item.dFlag(),
                     item.Display(),
                     item.DefaultField()})
        QCOMPARE(v, qint16(0));
    for (const QString &text : {item.TableCode(),
                                item.ItemCode(),
                                item.description(),
                                item.itemname(),
                                item.itemtype(),
                                item.ReferenceObj(),
                                item.LastLevelFalg(),
                                item.sdefault(),
                                item.sformat(),
                                item.Memo()})
        QVERIFY(text.isEmpty());

    const clsHrCT code;
    QCOMPARE(code.sFlag(), u"0"_s);
    QCOMPARE(code.cFlag(), u"0"_s);
    QCOMPARE(code.HideFlag(), u"0"_s);
    QCOMPARE(code.Levels(), 0);
    for (const QString &text : {code.CodeId(),
                                code.description(),
                                code.SimpleName(),
                                code.SimpleSpell(),
                                code.pCodeId(),
                                code.Memo()})
        QVERIFY(text.isEmpty());

    const clsHrSystGroup group;
    QCOMPARE(group.TableGroup(), u"0"_s);
    QCOMPARE(group.sFlag(), qint16(0));
    QVERIFY(group.description().isEmpty());
    QVERIFY(group.Memo().isEmpty());

    const clsHrSysDataType type;
    QCOMPARE(type.Id(), qint16(1));
    QCOMPARE(type.Name(), u"char"_s);
    QCOMPARE(type.FactType(), u"char"_s);
    QCOMPARE(type.description(), u"定长字符型"_s);
    QCOMPARE(type.SimpleSpell(), u"c"_s);
    QVERIFY(type.Memo().isEmpty());

    const clsHrSysDataFormat format;
    QCOMPARE(format.Id(), qint16(1));
    QCOMPARE(format.DateFormat(), u"yyyy-mm-dd"_s);
    QVERIFY(format.Memo().isEmpty());
}

void tst_Model::setterStoresValueUnchanged()
{
    clsHrSysSetDict set;
    set.setTableCode(u"  hr 001 "_s);
    set.setShowOrder(u"not a number"_s);
    QCOMPARE(set.TableCode(), u"  hr 001 "_s);
    QCOMPARE(set.ShowOrder(), u"not a number"_s);

    clsHrSysItemDict item;
    item.setLastLevelFalg(u"1"_s);
    item.setShowOrder(-5);
    QCOMPARE(item.LastLevelFalg(), u"1"_s);
    QCOMPARE(item.ShowOrder(), qint16(-5));
}

void tst_Model::setDictLoadsEveryColumn()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"hr_sys_setdict"_s, u"setdict"_s);
    insertRow(db.conn(), u"hr_sys_setdict"_s, u"setdict"_s);
    auto rs = db.conn().OpenRecordset(u"select * from hr_sys_setdict"_s);

    clsHrSysSetDict r;
    QVERIFY(r.LoadFromRecordset(*rs));
    QCOMPARE(r.TableCode(), u"HR001"_s);
    QCOMPARE(r.TableName(), u"人员信息"_s);
    QCOMPARE(r.description(), u"说明"_s);
    QCOMPARE(r.TableGroup(), u"1"_s);
    QCOMPARE(r.TableClass(), u"2"_s);
    QCOMPARE(r.CodeLen(), 12);
    QCOMPARE(r.MultiLevel(), u"1"_s);
    QCOMPARE(r.CodeFormat(), u"2-2-2"_s);
    QCOMPARE(r.TableType(), u"3"_s);
    QCOMPARE(r.CycleType(), u"4"_s);
    QCOMPARE(r.BusinessFlag(), u"5"_s);
    QCOMPARE(r.FunctionFlag(), u"6"_s);
    QCOMPARE(r.sFlag(), u"1"_s);
    QCOMPARE(r.ParentTable(), u"HR000"_s);
    QCOMPARE(r.cFlag(), u"0"_s);
    QCOMPARE(r.dFlag(), u"0"_s);
    QCOMPARE(r.Display(), qint16(1));
    QCOMPARE(r.ShowOrder(), u"7"_s);
    QCOMPARE(r.DisplayItem(), u"vName"_s);
    QCOMPARE(r.MainKey(), u"cPsn_Num"_s);
    QCOMPARE(r.Memo(), u"备注"_s);
}

void tst_Model::itemDictLoadsEveryColumn()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"hr_sys_itemdict"_s, u"itemdict"_s);
    insertRow(db.conn(), u"hr_sys_itemdict"_s, u"itemdict"_s);
    auto rs = db.conn().OpenRecordset(u"select * from hr_sys_itemdict"_s);

    clsHrSysItemDict r;
    r.LoadFromRecordset(*rs);
    QCOMPARE(r.TableCode(), u"HR001"_s);
    QCOMPARE(r.ItemCode(), u"vName"_s);
    QCOMPARE(r.description(), u"说明"_s);
    QCOMPARE(r.itemname(), u"姓名"_s);
    QCOMPARE(r.itemtype(), u"2"_s);
    QCOMPARE(r.ReferenceObj(), u"HR_CT001"_s);
    QCOMPARE(r.LastLevelFalg(), u"1"_s);
    QCOMPARE(r.itemlen(), u"30"_s);
    QCOMPARE(r.itemdec(), u"2"_s);
    QCOMPARE(r.sFlag(), qint16(1));
    QCOMPARE(r.rflag(), qint16(1));
    QCOMPARE(r.nflag(), qint16(1));
    QCOMPARE(r.sdefault(), u"无"_s);
    QCOMPARE(r.sformat(), u"yyyy-mm-dd"_s);
    QCOMPARE(r.dFlag(), qint16(1));
    QCOMPARE(r.Display(), qint16(1));
    QCOMPARE(r.ShowOrder(), qint16(12));
    QCOMPARE(r.BusinessFlag(), qint16(3));
    QCOMPARE(r.DefaultField(), qint16(1));
    QCOMPARE(r.Memo(), u"备注"_s);
}

void tst_Model::smallRecordsLoadEveryColumn()
{
    test::TestDatabase db(false);
    for (const QString &kind : {u"code"_s, u"group"_s, u"datatype"_s, u"dateformat"_s}) {
        createTable(db.conn(), u"t_"_s + kind, kind);
        insertRow(db.conn(), u"t_"_s + kind, kind);
    }

    auto rs = db.conn().OpenRecordset(u"select * from t_code"_s);
    clsHrCT code;
    code.LoadFromRecordset(*rs);
    QCOMPARE(code.CodeId(), u"0101"_s);
    QCOMPARE(code.description(), u"北京"_s);
    QCOMPARE(code.SimpleName(), u"京"_s);
    QCOMPARE(code.SimpleSpell(), u"BJ"_s);
    QCOMPARE(code.Levels(), 2);
    QCOMPARE(code.pCodeId(), u"01"_s);
    QCOMPARE(code.sFlag(), u"1"_s);
    QCOMPARE(code.cFlag(), u"1"_s);
    QCOMPARE(code.HideFlag(), u"1"_s);
    QCOMPARE(code.Memo(), u"备注"_s);

    rs = db.conn().OpenRecordset(u"select * from t_group"_s);
    clsHrSystGroup group;
    group.LoadFromRecordset(*rs);
    QCOMPARE(group.TableGroup(), u"3"_s);
    QCOMPARE(group.description(), u"职务"_s);
    QCOMPARE(group.sFlag(), qint16(1));
    QCOMPARE(group.Memo(), u"备注"_s);

    rs = db.conn().OpenRecordset(u"select * from t_datatype"_s);
    clsHrSysDataType type;
    type.LoadFromRecordset(*rs);
    QCOMPARE(type.Id(), qint16(13));
    QCOMPARE(type.Name(), u"datetime"_s);
    QCOMPARE(type.FactType(), u"datetime"_s);
    QCOMPARE(type.description(), u"日期型"_s);
    QCOMPARE(type.SimpleSpell(), u"d"_s);
    QCOMPARE(type.Memo(), u"备注"_s);

    rs = db.conn().OpenRecordset(u"select * from t_dateformat"_s);
    clsHrSysDataFormat format;
    format.LoadFromRecordset(*rs);
    QCOMPARE(format.Id(), qint16(3));
    QCOMPARE(format.DateFormat(), u"yyyy年mm月"_s);
    QCOMPARE(format.Memo(), u"备注"_s);
}

void tst_Model::conversion_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("prop");
    QTest::addColumn<QVariant>("expected"); // invalid: the load raises ModelError

    const QVariant fails;
    // NULL reads as the empty text, as 0 for integer and bit columns.
    QTest::newRow("set sFlag NULL varchar") << u"setdict"_s << u"bsysflag"_s << u"varchar(1)"_s
                                            << u"NULL"_s << u"sFlag"_s << QVariant(u""_s);
    QTest::newRow("set sFlag NULL int")
        << u"setdict"_s << u"bsysflag"_s << u"int"_s << u"NULL"_s << u"sFlag"_s << QVariant(u"0"_s);
    QTest::newRow("set sFlag NULL bit")
        << u"setdict"_s << u"bsysflag"_s << u"bit"_s << u"NULL"_s << u"sFlag"_s << QVariant(u"0"_s);
    QTest::newRow("set sFlag bit 0")
        << u"setdict"_s << u"bsysflag"_s << u"bit"_s << u"0"_s << u"sFlag"_s << QVariant(u"0"_s);
    QTest::newRow("set memo NULL") << u"setdict"_s << u"vmemo"_s << u"nvarchar(100)"_s << u"NULL"_s
                                   << u"Memo"_s << QVariant(u""_s);
    QTest::newRow("set memo empty") << u"setdict"_s << u"vmemo"_s << u"nvarchar(100)"_s << u"''"_s
                                    << u"Memo"_s << QVariant(u""_s);
    QTest::newRow("set group NULL int") << u"setdict"_s << u"itablegroup"_s << u"int"_s << u"NULL"_s
                                        << u"TableGroup"_s << QVariant(u"0"_s);
    QTest::newRow("set group text") << u"setdict"_s << u"itablegroup"_s << u"varchar(4)"_s
                                    << u"' 9 '"_s << u"TableGroup"_s << QVariant(u" 9 "_s);
    QTest::newRow("set multilevel NULL bit") << u"setdict"_s << u"bMultiLevel"_s << u"bit"_s
                                             << u"NULL"_s << u"MultiLevel"_s << QVariant(u"0"_s);
    QTest::newRow("set CodeLen NULL int")
        << u"setdict"_s << u"icodelen"_s << u"int"_s << u"NULL"_s << u"CodeLen"_s << QVariant(0);
    QTest::newRow("set CodeLen NULL varchar")
        << u"setdict"_s << u"icodelen"_s << u"varchar(4)"_s << u"NULL"_s << u"CodeLen"_s << fails;
    QTest::newRow("set CodeLen 32 bits") << u"setdict"_s << u"icodelen"_s << u"int"_s
                                         << u"2147483647"_s << u"CodeLen"_s << QVariant(2147483647);
    QTest::newRow("set CodeLen beyond 32 bits")
        << u"setdict"_s << u"icodelen"_s << u"bigint"_s << u"2147483648"_s << u"CodeLen"_s << fails;
    QTest::newRow("set Display NULL bit")
        << u"setdict"_s << u"bdisplay"_s << u"bit"_s << u"NULL"_s << u"Display"_s << QVariant(0);
    QTest::newRow("set Display NULL char")
        << u"setdict"_s << u"bdisplay"_s << u"char(1)"_s << u"NULL"_s << u"Display"_s << fails;
    QTest::newRow("set Display text number") << u"setdict"_s << u"bdisplay"_s << u"char(3)"_s
                                             << u"' 1 '"_s << u"Display"_s << QVariant(1);
    QTest::newRow("set Display text word")
        << u"setdict"_s << u"bdisplay"_s << u"char(3)"_s << u"'yes'"_s << u"Display"_s << fails;

    QTest::newRow("item itemlen NULL int") << u"itemdict"_s << u"iItemLen"_s << u"int"_s
                                           << u"NULL"_s << u"itemlen"_s << QVariant(u"0"_s);
    QTest::newRow("item itemlen NULL varchar") << u"itemdict"_s << u"iItemLen"_s << u"varchar(4)"_s
                                               << u"NULL"_s << u"itemlen"_s << QVariant(u""_s);
    QTest::newRow("item itemtype NULL int") << u"itemdict"_s << u"iItemType"_s << u"int"_s
                                            << u"NULL"_s << u"itemtype"_s << QVariant(u"0"_s);
    QTest::newRow("item lastlevel NULL bit") << u"itemdict"_s << u"bLastLevelFlag"_s << u"bit"_s
                                             << u"NULL"_s << u"LastLevelFalg"_s << QVariant(u"0"_s);
    QTest::newRow("item sFlag NULL bit")
        << u"itemdict"_s << u"bsysflag"_s << u"bit"_s << u"NULL"_s << u"sFlag"_s << QVariant(0);
    QTest::newRow("item sFlag NULL int")
        << u"itemdict"_s << u"bsysflag"_s << u"int"_s << u"NULL"_s << u"sFlag"_s << QVariant(0);
    QTest::newRow("item sFlag NULL varchar")
        << u"itemdict"_s << u"bsysflag"_s << u"varchar(1)"_s << u"NULL"_s << u"sFlag"_s << fails;
    QTest::newRow("item nflag bit 1")
        << u"itemdict"_s << u"bnullflag"_s << u"bit"_s << u"1"_s << u"nflag"_s << QVariant(1);
    QTest::newRow("item ShowOrder 32767") << u"itemdict"_s << u"ishoworder"_s << u"int"_s
                                          << u"32767"_s << u"ShowOrder"_s << QVariant(32767);
    QTest::newRow("item ShowOrder -32768") << u"itemdict"_s << u"ishoworder"_s << u"int"_s
                                           << u"-32768"_s << u"ShowOrder"_s << QVariant(-32768);
    QTest::newRow("item ShowOrder 32768")
        << u"itemdict"_s << u"ishoworder"_s << u"int"_s << u"32768"_s << u"ShowOrder"_s << fails;
    QTest::newRow("item ShowOrder 40000")
        << u"itemdict"_s << u"ishoworder"_s << u"int"_s << u"40000"_s << u"ShowOrder"_s << fails;
    QTest::newRow("item ShowOrder -32769")
        << u"itemdict"_s << u"ishoworder"_s << u"int"_s << u"-32769"_s << u"ShowOrder"_s << fails;
    QTest::newRow("item ShowOrder text 40000")
        << u"itemdict"_s << u"ishoworder"_s << u"varchar(8)"_s << u"'40000'"_s << u"ShowOrder"_s
        << fails;
    QTest::newRow("item ShowOrder empty text")
        << u"itemdict"_s << u"ishoworder"_s << u"varchar(8)"_s << u"''"_s << u"ShowOrder"_s
        << fails;
    QTest::newRow("item ShowOrder half to even down")
        << u"itemdict"_s << u"ishoworder"_s << u"float"_s << u"12.5"_s << u"ShowOrder"_s
        << QVariant(12);
    QTest::newRow("item ShowOrder half to even up")
        << u"itemdict"_s << u"ishoworder"_s << u"float"_s << u"13.5"_s << u"ShowOrder"_s
        << QVariant(14);
    QTest::newRow("item BusinessFlag NULL int") << u"itemdict"_s << u"iBusinessFlag"_s << u"int"_s
                                                << u"NULL"_s << u"BusinessFlag"_s << QVariant(0);
    QTest::newRow("item default NULL") << u"itemdict"_s << u"vDefault"_s << u"nvarchar(40)"_s
                                       << u"NULL"_s << u"sdefault"_s << QVariant(u""_s);
    QTest::newRow("item default kept as is")
        << u"itemdict"_s << u"vDefault"_s << u"nvarchar(40)"_s << u"'  a''b  '"_s << u"sdefault"_s
        << QVariant(u"  a'b  "_s);

    // Code flags are one-character columns: NULL is the empty text there, not "0".
    QTest::newRow("code HideFlag NULL char") << u"code"_s << u"bhideflag"_s << u"char(1)"_s
                                             << u"NULL"_s << u"HideFlag"_s << QVariant(u""_s);
    QTest::newRow("code cFlag NULL char") << u"code"_s << u"bchildflag"_s << u"char(1)"_s
                                          << u"NULL"_s << u"cFlag"_s << QVariant(u""_s);
    QTest::newRow("code Levels NULL int")
        << u"code"_s << u"ilevels"_s << u"int"_s << u"NULL"_s << u"Levels"_s << QVariant(0);
    QTest::newRow("code CodeId padded") << u"code"_s << u"ccodeid"_s << u"char(6)"_s << u"'01  '"_s
                                        << u"CodeId"_s << QVariant(u"01  "_s);

    QTest::newRow("group sFlag NULL int")
        << u"group"_s << u"bsysflag"_s << u"int"_s << u"NULL"_s << u"sFlag"_s << QVariant(0);
    QTest::newRow("group sFlag NULL bit")
        << u"group"_s << u"bsysflag"_s << u"bit"_s << u"NULL"_s << u"sFlag"_s << QVariant(0);
    QTest::newRow("group sFlag NULL char")
        << u"group"_s << u"bsysflag"_s << u"char(1)"_s << u"NULL"_s << u"sFlag"_s << fails;
    QTest::newRow("group code NULL int") << u"group"_s << u"itablegroup"_s << u"int"_s << u"NULL"_s
                                         << u"TableGroup"_s << QVariant(u"0"_s);

    QTest::newRow("datatype Id NULL int")
        << u"datatype"_s << u"id"_s << u"int"_s << u"NULL"_s << u"Id"_s << QVariant(0);
    QTest::newRow("datatype Id 70000")
        << u"datatype"_s << u"id"_s << u"int"_s << u"70000"_s << u"Id"_s << fails;
    QTest::newRow("datatype name NULL") << u"datatype"_s << u"vname"_s << u"varchar(20)"_s
                                        << u"NULL"_s << u"Name"_s << QVariant(u""_s);
    QTest::newRow("dateformat NULL") << u"dateformat"_s << u"vdateformat"_s << u"varchar(20)"_s
                                     << u"NULL"_s << u"DateFormat"_s << QVariant(u""_s);
    QTest::newRow("dateformat Id text")
        << u"dateformat"_s << u"id"_s << u"varchar(4)"_s << u"'2'"_s << u"Id"_s << QVariant(2);
}

void tst_Model::conversion()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(QString, type);
    QFETCH(QString, value);
    QFETCH(QString, prop);
    QFETCH(QVariant, expected);

    OneRow row(kind, Column{column, type, value});
    if (!expected.isValid()) {
        QVERIFY_THROWS_EXCEPTION(ModelError, loadedProperty(kind, prop, *row.rs));
        return;
    }
    const QVariant actual = loadedProperty(kind, prop, *row.rs);
    QVERIFY2(actual.isValid(), "unknown property in the test table");
    QCOMPARE(actual, expected);
}

void tst_Model::failedLoadKeepsWhatWasReadBefore()
{
    OneRow row(u"itemdict"_s, Column{u"ishoworder"_s, u"int"_s, u"40000"_s});
    clsHrSysItemDict r;
    try {
        r.LoadFromRecordset(*row.rs);
        QFAIL("a show order of 40000 must not load");
    } catch (const ModelError &e) {
        // The message names the column and the value, so that a log tells what to repair.
        QVERIFY2(e.message().contains(u"ishoworder"_s, Qt::CaseInsensitive),
                 qPrintable(e.message()));
        QVERIFY2(e.message().contains(u"40000"_s), qPrintable(e.message()));
    }
    // Read before the failing column...
    QCOMPARE(r.TableCode(), u"HR001"_s);
    QCOMPARE(r.itemname(), u"姓名"_s);
    QCOMPARE(r.Display(), qint16(1));
    // ...and the failing one and those after it keep their defaults.
    QCOMPARE(r.ShowOrder(), qint16(99));
    QCOMPARE(r.BusinessFlag(), qint16(4));
    QVERIFY(r.Memo().isEmpty());
}

void tst_Model::missingColumnRaisesAfterEarlierColumns()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"t"_s, u"setdict"_s, {}, u"bdisplay"_s);
    insertRow(db.conn(), u"t"_s, u"setdict"_s, {}, u"bdisplay"_s);
    auto rs = db.conn().OpenRecordset(u"select * from t"_s);

    clsHrSysSetDict r;
    QVERIFY_THROWS_EXCEPTION(db::DbError, r.LoadFromRecordset(*rs));
    QCOMPARE(r.dFlag(), u"0"_s);
    QCOMPARE(r.ParentTable(), u"HR000"_s);
    QCOMPARE(r.ShowOrder(), u"9999"_s);
    QVERIFY(r.Memo().isEmpty());
}

void tst_Model::secondLoadReplacesEveryValue()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"t"_s, u"itemdict"_s);
    insertRow(db.conn(), u"t"_s, u"itemdict"_s);
    insertRow(db.conn(),
              u"t"_s,
              u"itemdict"_s,
              {{u"cItemCode"_s, {}, u"'vSex'"_s},
               {u"vItemName"_s, {}, u"NULL"_s},
               {u"iItemLen"_s, {}, u"NULL"_s},
               {u"bDisplay"_s, {}, u"0"_s},
               {u"iShowOrder"_s, {}, u"NULL"_s},
               {u"vMemo"_s, {}, u"NULL"_s}});
    auto rs = db.conn().OpenRecordset(u"select * from t order by rowid"_s);

    clsHrSysItemDict r;
    r.LoadFromRecordset(*rs);
    QCOMPARE(r.itemname(), u"姓名"_s);
    rs->MoveNext();
    r.LoadFromRecordset(*rs);
    QCOMPARE(r.ItemCode(), u"vSex"_s);
    QCOMPARE(r.itemname(), QString());
    QCOMPARE(r.itemlen(), u"0"_s);
    QCOMPARE(r.Display(), qint16(0));
    QCOMPARE(r.ShowOrder(), qint16(0));
    QCOMPARE(r.Memo(), QString());
}

void tst_Model::loadNeitherMovesNorClosesTheRecordset()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"t"_s, u"group"_s);
    insertRow(db.conn(), u"t"_s, u"group"_s, {{u"iTableGroup"_s, {}, u"1"_s}});
    insertRow(db.conn(), u"t"_s, u"group"_s, {{u"iTableGroup"_s, {}, u"2"_s}});
    auto rs = db.conn().OpenRecordset(u"select * from t order by iTableGroup"_s);

    clsHrSystGroup g;
    g.LoadFromRecordset(*rs);
    QVERIFY(rs->IsOpen());
    QVERIFY(!rs->Eof());
    QCOMPARE(rs->Fields(u"itablegroup").Value().toInt(), 1);
    rs->MoveNext();
    g.LoadFromRecordset(*rs);
    QCOMPARE(g.TableGroup(), u"2"_s);
}

void tst_Model::addAndItemShareTheRecord()
{
    clsHrSysSetDicts sets;
    const auto added = sets.Add(u"HR001"_s);
    QCOMPARE(sets.Count(), 1);
    QCOMPARE(added->TableGroup(), u"0"_s); // a new record, with its defaults

    added->setTableName(u"人员"_s);
    QCOMPARE(sets.Item(1).get(), added.get());
    QCOMPARE(sets.Item(u"hr001"_s)->TableName(), u"人员"_s);
    QCOMPARE(sets.Item(QVariant(u"Hr001"_s)).get(), added.get());
    QCOMPARE(sets.Item(QVariant(1)).get(), added.get());

    sets.Item(u"HR001"_s)->setShowOrder(u"3"_s);
    QCOMPARE(added->ShowOrder(), u"3"_s);
}

void tst_Model::keysAreUniqueInAnyLetterCase()
{
    clsHrSysItemDicts items;
    items.Add(u"HR001^vName"_s);
    QVERIFY_THROWS_EXCEPTION(ModelError, items.Add(u"hr001^VNAME"_s));
    QVERIFY_THROWS_EXCEPTION(ModelError, items.Add(u"HR001^vName"_s));
    QCOMPARE(items.Count(), 1);
    items.Add(u"HR001^vName2"_s);
    QCOMPARE(items.Count(), 2);
    // Case folding covers letters beyond ASCII as well.
    items.Add(u"Ärzte"_s);
    QVERIFY(items.Exists(u"äRZTE"_s));
}

void tst_Model::recordsWithoutKeyArePositionalOnly()
{
    clsHrCTs codes;
    const auto first = codes.Add();
    const auto second = codes.Add(QString());
    QCOMPARE(codes.Count(), 2);
    QCOMPARE(codes.Item(1).get(), first.get());
    QCOMPARE(codes.Item(2).get(), second.get());
    QVERIFY(!codes.Exists(QString()));
    QVERIFY_THROWS_EXCEPTION(ModelError, codes.Item(QString()));
}

void tst_Model::positions_data()
{
    QTest::addColumn<QVariant>("index");
    QTest::addColumn<QString>("expected"); // the record's code; empty when there is none

    QTest::newRow("first") << QVariant(1) << u"A"_s;
    QTest::newRow("last") << QVariant(3) << u"C"_s;
    QTest::newRow("zero") << QVariant(0) << QString();
    QTest::newRow("negative") << QVariant(-1) << QString();
    QTest::newRow("beyond count") << QVariant(4) << QString();
    QTest::newRow("64-bit position") << QVariant(qlonglong(2)) << u"B"_s;
    QTest::newRow("double rounds half to even") << QVariant(2.5) << u"B"_s;
    QTest::newRow("double rounds up") << QVariant(2.51) << u"C"_s;
    QTest::newRow("key") << QVariant(u"b"_s) << u"B"_s;
    QTest::newRow("key as digits is a key") << QVariant(u"1"_s) << QString();
    QTest::newRow("absent key") << QVariant(u"D"_s) << QString();
    QTest::newRow("empty variant") << QVariant() << QString();
    QTest::newRow("date") << QVariant(QDate(2024, 1, 1)) << QString();
}

void tst_Model::positions()
{
    QFETCH(QVariant, index);
    QFETCH(QString, expected);

    clsHrCTs codes;
    for (const QString &code : {u"A"_s, u"B"_s, u"C"_s})
        codes.Add(code)->setCodeId(code);

    QCOMPARE(codes.Exists(index), !expected.isEmpty());
    if (expected.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(ModelError, codes.Item(index));
        QVERIFY_THROWS_EXCEPTION(ModelError, codes.Remove(index));
        QCOMPARE(codes.Count(), 3);
    } else {
        QCOMPARE(codes.Item(index)->CodeId(), expected);
        codes.Remove(index);
        QCOMPARE(codes.Count(), 2);
        QVERIFY(!codes.Exists(expected));
    }
}

void tst_Model::removeByPositionAndKey()
{
    clsHrSystGroups groups;
    for (const QString &code : {u"1"_s, u"2"_s, u"3"_s, u"4"_s})
        groups.Add(code)->setTableGroup(code);

    groups.Remove(2);
    QCOMPARE(groups.Count(), 3);
    QCOMPARE(groups.Item(2)->TableGroup(), u"3"_s);
    QVERIFY(!groups.Exists(u"2"_s));

    groups.Remove(u"4"_s);
    QCOMPARE(groups.Count(), 2);
    QCOMPARE(groups.Item(2)->TableGroup(), u"3"_s);
    QVERIFY_THROWS_EXCEPTION(ModelError, groups.Remove(u"4"_s));
    QVERIFY_THROWS_EXCEPTION(ModelError, groups.Remove(3));

    // A removed key may be used again; the new record goes to the end.
    groups.Add(u"2"_s)->setTableGroup(u"2 again"_s);
    QCOMPARE(groups.Item(3)->TableGroup(), u"2 again"_s);
    QCOMPARE(groups.Item(u"2"_s)->TableGroup(), u"2 again"_s);
}

void tst_Model::clearReleasesKeysButNotRecords()
{
    clsHrSysDataTypes types;
    const auto kept = types.Add(u"1"_s);
    kept->setName(u"int"_s);
    types.Add(u"2"_s);
    types.Clear();
    QCOMPARE(types.Count(), 0);
    QVERIFY(!types.Exists(1));
    QVERIFY(!types.Exists(u"1"_s));
    QCOMPARE(kept->Name(), u"int"_s);
    types.Add(u"1"_s);
    QCOMPARE(types.Count(), 1);
    QVERIFY(types.Item(1).get() != kept.get());
}

void tst_Model::iterationFollowsInsertionOrder()
{
    clsHrSysDataFormats formats;
    const QStringList patterns{u"yyyy-mm-dd"_s, u"yyyy年mm月dd日"_s, u"yy.mm"_s, u"mm/dd"_s};
    for (const QString &p : patterns)
        formats.Add(p.toUpper())->setDateFormat(p);
    formats.Remove(2);

    QStringList seen;
    for (const auto &format : formats)
        seen << format->DateFormat();
    QCOMPARE(seen, (QStringList{patterns[0], patterns[2], patterns[3]}));

    // The enumerator is a snapshot: changing the collection while walking it is safe.
    QStringList walked;
    for (const auto &format : formats.NewEnum()) {
        walked << format->DateFormat();
        formats.Remove(1);
    }
    QCOMPARE(walked, seen);
    QCOMPARE(formats.Count(), 0);
}

void tst_Model::loadKeysSetsByTrimmedCode()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"hr_sys_setdict"_s, u"setdict"_s);
    for (const QString &code : {u"' HR002 '"_s, u"'HR001'"_s, u"'hr_ct001  '"_s})
        insertRow(db.conn(), u"hr_sys_setdict"_s, u"setdict"_s, {{u"cTableCode"_s, {}, code}});

    clsHrSysSetDicts sets;
    QVERIFY(sets.Load(db.conn(), u"select * from hr_sys_setdict order by rowid"_s));
    QCOMPARE(sets.Count(), 3);
    // The key is trimmed, the property keeps what the row holds.
    QCOMPARE(sets.Item(u"hr002"_s)->TableCode(), u" HR002 "_s);
    QCOMPARE(sets.Item(1)->TableCode(), u" HR002 "_s);
    QCOMPARE(sets.Item(2)->TableCode(), u"HR001"_s);
    QVERIFY(sets.Exists(u"HR_CT001"_s));
    QVERIFY(!sets.Exists(u" HR002 "_s));
}

void tst_Model::loadOfNoRowsIsTrue()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"hr_sys_tgroup"_s, u"group"_s);
    clsHrSystGroups groups;
    QVERIFY(groups.Load(db.conn(), u"select * from hr_sys_tgroup"_s));
    QCOMPARE(groups.Count(), 0);
}

void tst_Model::loadAppendsAndStopsAtDuplicate()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"hr_sys_tgroup"_s, u"group"_s);
    for (int g : {1, 2, 3, 9})
        insertRow(db.conn(),
                  u"hr_sys_tgroup"_s,
                  u"group"_s,
                  {{u"iTableGroup"_s, {}, QString::number(g)}});

    clsHrSystGroups groups;
    QVERIFY(groups.Load(db.conn(), u"select * from hr_sys_tgroup where iTableGroup < 3"_s));
    QCOMPARE(groups.Count(), 2);
    QVERIFY(groups.Load(db.conn(), u"select * from hr_sys_tgroup where iTableGroup >= 3"_s));
    QCOMPARE(groups.Count(), 4);
    QCOMPARE(groups.Item(4)->TableGroup(), u"9"_s);

    // Loading the same rows again stops at the first one, whose key is taken.
    QVERIFY(!groups.Load(db.conn(), u"select * from hr_sys_tgroup order by iTableGroup"_s));
    QCOMPARE(groups.Count(), 4);
}

void tst_Model::loadStopsAtNullKey()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"hr_sys_setdict"_s, u"setdict"_s);
    for (const QString &code : {u"'HR001'"_s, u"'HR002'"_s, u"NULL"_s, u"'HR004'"_s})
        insertRow(db.conn(), u"hr_sys_setdict"_s, u"setdict"_s, {{u"cTableCode"_s, {}, code}});

    clsHrSysSetDicts sets;
    QVERIFY(!sets.Load(db.conn(), u"select * from hr_sys_setdict order by rowid"_s));
    QCOMPARE(sets.Count(), 2);
    QVERIFY(sets.Exists(u"HR002"_s));
    QVERIFY(!sets.Exists(u"HR004"_s));
}

void tst_Model::loadStopsAtKeyDifferingInCaseOnly()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"hr_ct001"_s, u"code"_s);
    for (const QString &code : {u"'a1'"_s, u"'A2'"_s, u"'A1'"_s, u"'A3'"_s})
        insertRow(db.conn(), u"hr_ct001"_s, u"code"_s, {{u"cCodeId"_s, {}, code}});

    clsHrCTs codes;
    QVERIFY(!codes.Load(db.conn(), u"select * from hr_ct001 order by rowid"_s));
    QCOMPARE(codes.Count(), 2);
    QCOMPARE(codes.Item(u"A1"_s)->CodeId(), u"a1"_s);
}

void tst_Model::loadKeepsRecordThatFailedPartWay()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"hr_sys_itemdict"_s, u"itemdict"_s);
    insertRow(db.conn(), u"hr_sys_itemdict"_s, u"itemdict"_s, {{u"cItemCode"_s, {}, u"'a'"_s}});
    insertRow(db.conn(),
              u"hr_sys_itemdict"_s,
              u"itemdict"_s,
              {{u"cItemCode"_s, {}, u"'b'"_s}, {u"iShowOrder"_s, {}, u"40000"_s}});
    insertRow(db.conn(), u"hr_sys_itemdict"_s, u"itemdict"_s, {{u"cItemCode"_s, {}, u"'c'"_s}});

    clsHrSysItemDicts items;
    QVERIFY(!items.Load(db.conn(), u"select * from hr_sys_itemdict order by rowid"_s));
    QCOMPARE(items.Count(), 2);
    const auto failed = items.Item(u"HR001^B"_s);
    QCOMPARE(failed->ItemCode(), u"b"_s);        // read before the failing column
    QCOMPARE(failed->ShowOrder(), qint16(99));   // the failing column: still the default
    QCOMPARE(failed->BusinessFlag(), qint16(4)); // after it: never read
    QVERIFY(!items.Exists(u"HR001^c"_s));
}

void tst_Model::itemKeysIncludeTheTable()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"hr_sys_itemdict"_s, u"itemdict"_s);
    for (const QString &table : {u"'HR001 '"_s, u"' HR002'"_s})
        insertRow(db.conn(),
                  u"hr_sys_itemdict"_s,
                  u"itemdict"_s,
                  {{u"cTableCode"_s, {}, table}, {u"cItemCode"_s, {}, u"' cPsn_Num '"_s}});

    clsHrSysItemDicts items;
    QVERIFY(items.Load(db.conn(), u"select * from hr_sys_itemdict order by rowid"_s));
    QCOMPARE(items.Count(), 2);
    QCOMPARE(items.Item(u"hr001^cpsn_num"_s)->TableCode(), u"HR001 "_s);
    QCOMPARE(items.Item(u"HR002^CPSN_NUM"_s)->TableCode(), u" HR002"_s);
    QVERIFY(!items.Exists(u"cPsn_Num"_s));
}

void tst_Model::codeKeysKeepTrailingBlanks()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"hr_ct002"_s, u"code"_s, {{u"cCodeId"_s, u"char(6)"_s, {}}});
    insertRow(db.conn(), u"hr_ct002"_s, u"code"_s, {{u"cCodeId"_s, {}, u"'01  '"_s}});
    insertRow(db.conn(), u"hr_ct002"_s, u"code"_s, {{u"cCodeId"_s, {}, u"' 02'"_s}});

    clsHrCTs codes;
    QVERIFY(codes.Load(db.conn(), u"select * from hr_ct002 order by rowid"_s));
    QVERIFY(!codes.Exists(u"01"_s));
    QVERIFY_THROWS_EXCEPTION(ModelError, codes.Item(u"01"_s));
    QCOMPARE(codes.Item(u"01  "_s)->CodeId(), u"01  "_s);
    QVERIFY(codes.Exists(u" 02"_s));
    QVERIFY(!codes.Exists(u"02"_s));
}

void tst_Model::numericKeysBecomeText()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"hr_sys_datatype"_s, u"datatype"_s);
    createTable(db.conn(), u"hr_sys_dateformat"_s, u"dateformat"_s);
    for (int id : {1, 13, 9})
        insertRow(
            db.conn(), u"hr_sys_datatype"_s, u"datatype"_s, {{u"id"_s, {}, QString::number(id)}});
    for (int id : {2, 1})
        insertRow(db.conn(),
                  u"hr_sys_dateformat"_s,
                  u"dateformat"_s,
                  {{u"id"_s, {}, QString::number(id)}});

    clsHrSysDataTypes types;
    QVERIFY(types.Load(db.conn(), u"select * from hr_sys_datatype order by rowid"_s));
    QCOMPARE(types.Item(u"13"_s)->Id(), qint16(13));
    QCOMPARE(types.Item(3)->Id(), qint16(9)); // position 3, not the key "3"
    QVERIFY(!types.Exists(u"2"_s));

    clsHrSysDataFormats formats;
    QVERIFY(formats.Load(db.conn(), u"select * from hr_sys_dateformat order by rowid"_s));
    QCOMPARE(formats.Item(u"1"_s).get(), formats.Item(2).get());

    // The key is the column's text, not the record's number: " 07 " keys as "07".
    createTable(db.conn(), u"t_text_ids"_s, u"datatype"_s, {{u"id"_s, u"varchar(4)"_s, {}}});
    insertRow(db.conn(), u"t_text_ids"_s, u"datatype"_s, {{u"id"_s, {}, u"' 07 '"_s}});
    clsHrSysDataTypes textIds;
    QVERIFY(textIds.Load(db.conn(), u"select * from t_text_ids"_s));
    QCOMPARE(textIds.Item(1)->Id(), qint16(7));
    QVERIFY(textIds.Exists(u"07"_s));
    QVERIFY(!textIds.Exists(u"7"_s));
}

void tst_Model::loadOfBadStatementIsFalse()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"hr_sys_tgroup"_s, u"group"_s);
    insertRow(db.conn(), u"hr_sys_tgroup"_s, u"group"_s);

    clsHrSystGroups groups;
    QVERIFY(!groups.Load(db.conn(), u"select * from no_such_table"_s));
    QVERIFY(!groups.Load(db.conn(), u"selec * from hr_sys_tgroup"_s));
    QVERIFY(!groups.Load(db.conn(), QString()));
    // Rows without the key column, or without a column the record reads.
    QVERIFY(!groups.Load(db.conn(), u"select vDescription, bsysflag, vmemo from hr_sys_tgroup"_s));
    QCOMPARE(groups.Count(), 0);
    QVERIFY(!groups.Load(db.conn(), u"select iTableGroup, vDescription from hr_sys_tgroup"_s));
    QCOMPARE(groups.Count(), 1); // added under its key, then the missing bsysflag stopped it
    QCOMPARE(groups.Item(1)->description(), u"职务"_s);

    db::Connection closed;
    QVERIFY(!groups.Load(closed, u"select * from hr_sys_tgroup"_s));
    QCOMPARE(groups.Count(), 1);
}

void tst_Model::loadUsesTheSharedConnection()
{
    test::TestDatabase db(false);
    createTable(db.conn(), u"hr_sys_tgroup"_s, u"group"_s);
    insertRow(db.conn(), u"hr_sys_tgroup"_s, u"group"_s);

    clsHrSystGroups groups;
    QVERIFY(!groups.Load(u"select * from hr_sys_tgroup"_s)); // no shared connection yet
    QCOMPARE(groups.Count(), 0);

    Defs::instance().connection = std::shared_ptr<db::Connection>(db.openAnother());
    QVERIFY(groups.Load(u"select * from hr_sys_tgroup"_s));
    QCOMPARE(groups.Count(), 1);
    QCOMPARE(groups.Item(u"3"_s)->description(), u"职务"_s);
}

QTEST_GUILESS_MAIN(tst_Model)
#include "tst_model.moc"
