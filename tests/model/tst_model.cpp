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

// Every column a record reads, in the order its properties are listed by `values` below, as
// "name type value" with a value that loads cleanly. Column names are written in other letter
// cases than the records use, and this is not the order in which the records read them.
QList<Column> layoutOf(const QString &kind)
{
    static const QHash<QString, QString> layouts{
        {u"setdict"_s,
         u"CTABLECODE varchar(20) 'HR001';vtablename nvarchar(40) '人员信息';"
         u"VDescription nvarchar(80) '说明';iTableGroup int 1;iTableClass int 2;iCodeLen int 12;"
         u"bmultilevel bit 1;vCodeFormat varchar(20) '2-2-2';iTableType int 3;iCycleType int 4;"
         u"iBusinessFlag int 5;iFunctionScope int 6;bSysFlag bit 1;vParentTable varchar(20) "
         u"'HR000';bChildFlag bit 0;bDelFlag bit 0;bDisplay bit 1;iShowOrder int 7;"
         u"vDisplayItem varchar(20) 'vName';vMainKey varchar(20) 'cPsn_Num';"
         u"VMEMO nvarchar(100) '备注'"_s},
        {u"itemdict"_s,
         u"cTableCode varchar(20) 'HR001';cItemCode varchar(20) 'vName';vDescription "
         u"nvarchar(80) '说明';vItemName nvarchar(40) '姓名';iItemType int 2;vReferenceObj "
         u"varchar(20) 'HR_CT001';bLastLevelFlag bit 1;iItemLen int 30;iItemDec int 2;bSysFlag "
         u"bit 1;bRecordFlag bit 1;bNullFlag bit 1;vDefault nvarchar(40) '无';vFormat varchar(20) "
         u"'yyyy-mm-dd';bDelFlag bit 1;bDisplay bit 1;iShowOrder int 12;iBusinessFlag int 3;"
         u"bDefault bit 1;vMemo nvarchar(100) '备注'"_s},
        {u"code"_s,
         u"cCodeId varchar(20) '0101';vDescription nvarchar(80) '北京';vSimpleName nvarchar(40) "
         u"'京';vSimpleSpell varchar(40) 'BJ';iLevels int 2;cpCodeId varchar(20) '01';bSysFlag "
         u"char(1) '1';bChildFlag char(1) '1';bHideFlag char(1) '1';vMemo nvarchar(100) '备注'"_s},
        {u"group"_s,
         u"iTableGroup int 3;vDescription nvarchar(40) '职务';bSysFlag bit 1;"
         u"vMemo nvarchar(100) '备注'"_s},
        {u"datatype"_s,
         u"Id int 13;vName varchar(20) 'datetime';vFactType varchar(20) 'datetime';vDescription "
         u"nvarchar(40) '日期型';vSimpleSpell varchar(20) 'd';vMemo nvarchar(100) '备注'"_s},
        {u"dateformat"_s,
         u"Id int 3;vDateFormat varchar(20) 'yyyy年mm月';vMemo nvarchar(100) '备注'"_s}};
    QList<Column> columns;
    for (const QString &c : layouts.value(kind).split(u';')) {
        const QStringList parts = c.split(u' ');
        columns.append({parts[0], parts[1], parts[2]});
    }
    return columns;
}

// Table "t" of a record kind with a row per entry of `rows`: clean values, except for the columns
// named there (without regard to case), whose value and, when given in the first row, type differ.
void createTable(db::Connection &conn, const QString &kind, const QList<QList<Column>> &rows)
{
    const auto changed = [](Column c, const QList<Column> &overrides) {
        for (const Column &o : overrides) {
            if (o.name.compare(c.name, Qt::CaseInsensitive) == 0) {
                c.type = o.type.isEmpty() ? c.type : o.type;
                c.value = o.value;
            }
        }
        return c;
    };
    QStringList defs;
    QList<QStringList> values(rows.size());
    for (const Column &c : layoutOf(kind)) {
        defs << c.name + u' ' + changed(c, rows.value(0)).type;
        for (qsizetype i = 0; i < rows.size(); ++i)
            values[i] << changed(c, rows[i]).value;
    }
    conn.Execute(u"create table t ("_s + defs.join(u", "_s) + u')');
    for (const QStringList &row : values)
        conn.Execute(u"insert into t values ("_s + row.join(u", "_s) + u')');
}

// Every row of table "t" in the order the rows went in.
QString inInsertionOrder()
{
    return test::TestDatabase::onPostgres() ? u"select * from t order by ctid"_s
                                            : u"select * from t order by rowid"_s;
}

// Table "t" with one row per value (an SQL literal) of `column`, optionally of another type.
void seed(db::Connection &conn,
          const QString &kind,
          const QString &column,
          const QStringList &values,
          const QString &type = {})
{
    QList<QList<Column>> rows;
    for (const QString &value : values)
        rows.append({{column, type, value}});
    createTable(conn, kind, rows);
}

QString n(qint64 v)
{
    return QString::number(v);
}

// Every property of a record as text, in layout order.
QStringList values(const clsHrSysSetDict &r)
{
    return {r.TableCode(),    r.TableName(),    r.description(), r.TableGroup(),  r.TableClass(),
            n(r.CodeLen()),   r.MultiLevel(),   r.CodeFormat(),  r.TableType(),   r.CycleType(),
            r.BusinessFlag(), r.FunctionFlag(), r.sFlag(),       r.ParentTable(), r.cFlag(),
            r.dFlag(),        n(r.Display()),   r.ShowOrder(),   r.DisplayItem(), r.MainKey(),
            r.Memo()};
}

QStringList values(const clsHrSysItemDict &r)
{
    return {r.TableCode(),    r.ItemCode(),        r.description(),     r.itemname(),
            r.itemtype(),     r.ReferenceObj(),    r.LastLevelFalg(),   r.itemlen(),
            r.itemdec(),      n(r.sFlag()),        n(r.rflag()),        n(r.nflag()),
            r.sdefault(),     r.sformat(),         n(r.dFlag()),        n(r.Display()),
            n(r.ShowOrder()), n(r.BusinessFlag()), n(r.DefaultField()), r.Memo()};
}

QStringList values(const clsHrCT &r)
{
    return QStringList{r.CodeId(), r.description(), r.SimpleName(), r.SimpleSpell(), n(r.Levels())}
           + QStringList{r.pCodeId(), r.sFlag(), r.cFlag(), r.HideFlag(), r.Memo()};
}

QStringList values(const clsHrSystGroup &r)
{
    return {r.TableGroup(), r.description(), n(r.sFlag()), r.Memo()};
}

QStringList values(const clsHrSysDataType &r)
{
    return {n(r.Id()), r.Name(), r.FactType(), r.description(), r.SimpleSpell(), r.Memo()};
}

QStringList values(const clsHrSysDataFormat &r)
{
    return {n(r.Id()), r.DateFormat(), r.Memo()};
}

// Properties keyed by the lower-case name of the column they are read from.
using Props = QMap<QString, QString>;

template<class R>
Props props(const QString &kind, const R &r)
{
    Props p;
    const QStringList texts = values(r);
    const QList<Column> layout = layoutOf(kind);
    for (qsizetype i = 0; i < layout.size(); ++i)
        p.insert(layout[i].name.toLower(), texts.value(i, u"<missing>"_s));
    return p;
}

// Calls f with a default-constructed record and collection of a kind.
template<class F>
void visit(const QString &kind, F &&f)
{
    if (kind == u"setdict")
        f(clsHrSysSetDict(), clsHrSysSetDicts());
    else if (kind == u"itemdict")
        f(clsHrSysItemDict(), clsHrSysItemDicts());
    else if (kind == u"code")
        f(clsHrCT(), clsHrCTs());
    else if (kind == u"group")
        f(clsHrSystGroup(), clsHrSystGroups());
    else if (kind == u"datatype")
        f(clsHrSysDataType(), clsHrSysDataTypes());
    else
        f(clsHrSysDataFormat(), clsHrSysDataFormats());
}

// The properties of a record of a kind loaded from the current row of `rs`.
Props propsOf(const QString &kind, db::Recordset *rs)
{
    Props p;
    visit(kind, [&](auto r, auto) {
        r.LoadFromRecordset(*rs);
        p = props(kind, r);
    });
    return p;
}

// "a|b" as a list.
QStringList list(const QString &items)
{
    return items.split(u'|', Qt::SkipEmptyParts);
}

// Loads table "t" into a collection and checks the outcome against the current `load` data row.
template<class C>
void checkLoad(db::Connection &conn, const QString &kind, C coll)
{
    QFETCH(QString, column);
    QFETCH(bool, ok);
    QFETCH(QString, keys);
    QFETCH(QString, stored);
    QFETCH(QString, absent);

    QCOMPARE(coll.Load(conn, inInsertionOrder()), ok);
    QCOMPARE(coll.Count(), list(keys).size());
    for (qint32 i = 1; i <= coll.Count(); ++i) {
        QCOMPARE(coll.Item(list(keys)[i - 1]).get(), coll.Item(i).get());
        QCOMPARE(props(kind, *coll.Item(i)).value(column), list(stored)[i - 1]);
    }
    for (const QString &key : list(absent))
        QVERIFY2(!coll.Exists(key), qPrintable(key));
}

} // namespace

class tst_Model : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Defs::instance().connection.reset(); }

    void records_data();
    void records();
    void conversion_data();
    void conversion();
    void secondLoadReplacesEveryValue();

    void keysInAnyLetterCase();
    void positions_data();
    void positions();
    void removeAndClear();

    void load_data();
    void load();
    void loadKeepsRecordThatFailedPartWay();
    void loadFailsOnBadStatementAndAppends();
};

void tst_Model::records_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"setdict", "itemdict", "code", "group", "datatype", "dateformat"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

void tst_Model::records()
{
    QFETCH(QString, kind);

    // A clean row loads every column into its own property.
    test::TestDatabase db(false);
    createTable(db.conn(), kind, {{}});
    auto rs = db.conn().OpenRecordset(u"select * from t"_s);
    const Props loaded = propsOf(kind, rs.get());
    for (const Column &c : layoutOf(kind)) {
        const QString text
            = c.value.startsWith(u'\'') ? c.value.mid(1, c.value.size() - 2) : c.value;
        QCOMPARE(c.name + u'=' + loaded.value(c.name.toLower()), c.name + u'=' + text);
    }
}

void tst_Model::conversion_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QVariant>("expected"); // invalid: the load raises ModelError

    QString kind;
    const auto row = [&kind](QString column, QString type, QString value, QVariant expected) {
        const QString name = kind + u' ' + column + u' ' + type + u' ' + value;
        QTest::addRow("%s", qPrintable(name)) << kind << column << type << value << expected;
    };
    const QVariant raises;

    kind = u"setdict"_s;
    row(u"icodelen"_s, u"varchar(4)"_s, u"NULL"_s, raises); // NULL text is no number
    row(u"icodelen"_s, u"bigint"_s, u"2147483648"_s, raises);
    row(u"bdisplay"_s, u"char(3)"_s, u"' 1 '"_s, u"1"_s);
    row(u"bdisplay"_s, u"char(3)"_s, u"'yes'"_s, raises);

    kind = u"itemdict"_s;
    // 16-bit properties raise outside -32768 to 32767 and round halves to even.
    row(u"ishoworder"_s, u"int"_s, u"32767"_s, u"32767"_s);
    row(u"ishoworder"_s, u"int"_s, u"32768"_s, raises);
    row(u"ishoworder"_s, u"varchar(8)"_s, u"''"_s, raises);
    row(u"ishoworder"_s, u"float"_s, u"12.5"_s, u"12"_s);
    row(u"ishoworder"_s, u"float"_s, u"13.5"_s, u"14"_s);
}

void tst_Model::conversion()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(QString, type);
    QFETCH(QString, value);
    QFETCH(QVariant, expected);

    test::TestDatabase db(false);
    seed(db.conn(), kind, column, {value}, type);
    auto rs = db.conn().OpenRecordset(u"select * from t"_s);
    if (!expected.isValid()) {
        // The message names the column and the value (NULL read as text is the empty text), so
        // that a log tells what to repair.
        const QString shown = value == u"NULL" ? QString() : QString(value).remove(u'\'');
        try {
            propsOf(kind, rs.get());
            QFAIL("the value loaded");
        } catch (const ModelError &e) {
            QVERIFY2(e.message().contains(column, Qt::CaseInsensitive), qPrintable(e.message()));
            QVERIFY2(e.message().contains(u'“' + shown + u'”'), qPrintable(e.message()));
        }
        return;
    }
    const Props loaded = propsOf(kind, rs.get());
    QVERIFY2(loaded.contains(column.toLower()), "unknown column in the test row");
    QCOMPARE(loaded.value(column.toLower()), expected.toString());
}

void tst_Model::secondLoadReplacesEveryValue()
{
    test::TestDatabase db(false);
    const QList<Column> second{{u"vItemName"_s, {}, u"NULL"_s},
                               {u"iItemLen"_s, {}, u"NULL"_s},
                               {u"iShowOrder"_s, {}, u"NULL"_s}};
    createTable(db.conn(), u"itemdict"_s, {{}, second});
    auto rs = db.conn().OpenRecordset(inInsertionOrder());

    clsHrSysItemDict r;
    r.LoadFromRecordset(*rs);
    QCOMPARE(r.itemname(), u"姓名"_s);
    // Loading neither moves nor closes the recordset.
    QVERIFY(rs->IsOpen());
    QCOMPARE(rs->Fields(u"citemcode").Value().toString(), u"vName"_s);
    rs->MoveNext();
    r.LoadFromRecordset(*rs);
    QCOMPARE(r.itemname(), QString());
    QCOMPARE(r.itemlen(), u"0"_s);
    QCOMPARE(r.ShowOrder(), qint16(0));
}

void tst_Model::keysInAnyLetterCase()
{
    clsHrSysSetDicts sets;
    const auto added = sets.Add(u"HR001"_s);
    added->setTableName(u"人员"_s);
    QCOMPARE(sets.Item(1).get(), added.get());
    QCOMPARE(sets.Item(u"hr001"_s)->TableName(), u"人员"_s);
    QCOMPARE(sets.Item(QVariant(u"Hr001"_s)).get(), added.get());
    QVERIFY_THROWS_EXCEPTION(ModelError, sets.Add(u"hr001"_s));
    sets.Add(u"HR0012"_s);
    // Case folding covers letters beyond ASCII as well.
    sets.Add(u"Ärzte"_s);
    QVERIFY(sets.Exists(u"äRZTE"_s));
    QCOMPARE(sets.Count(), 3);

    // Records without a key are positional only.
    clsHrCTs codes;
    const auto first = codes.Add();
    const auto second = codes.Add(QString());
    QCOMPARE(codes.Item(1).get(), first.get());
    QCOMPARE(codes.Item(2).get(), second.get());
    QVERIFY(!codes.Exists(QString()));
    QVERIFY_THROWS_EXCEPTION(ModelError, codes.Item(QString()));
}

void tst_Model::positions_data()
{
    QTest::addColumn<QVariant>("index");
    QTest::addColumn<QString>("expected"); // the record's code; empty when there is none

    QTest::newRow("last") << QVariant(3) << u"C"_s;
    QTest::newRow("zero") << QVariant(0) << QString();
    QTest::newRow("beyond count") << QVariant(4) << QString();
    QTest::newRow("double rounds half to even") << QVariant(2.5) << u"B"_s;
    QTest::newRow("double rounds up") << QVariant(2.51) << u"C"_s;
    QTest::newRow("key") << QVariant(u"b"_s) << u"B"_s;
    QTest::newRow("key as digits is a key") << QVariant(u"1"_s) << QString();
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

void tst_Model::removeAndClear()
{
    clsHrSystGroups groups;
    for (const QString &code : {u"1"_s, u"2"_s, u"3"_s})
        groups.Add(code)->setTableGroup(code);
    groups.Remove(1);
    QCOMPARE(groups.Item(1)->TableGroup(), u"2"_s); // later records move up
    QVERIFY_THROWS_EXCEPTION(ModelError, groups.Remove(u"1"_s));
    // A removed key may be used again; the new record goes to the end.
    groups.Add(u"1"_s)->setTableGroup(u"1 again"_s);
    QCOMPARE(groups.Item(3)->TableGroup(), u"1 again"_s);

    // Clear releases the keys but not the records handed out.
    const auto kept = groups.Item(u"2"_s);
    groups.Clear();
    QCOMPARE(groups.Count(), 0);
    QCOMPARE(kept->TableGroup(), u"2"_s);
    QVERIFY(groups.Add(u"2"_s).get() != kept.get());
}

void tst_Model::load_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("column"); // the key column; its values differ from row to row
    QTest::addColumn<QString>("type");   // replaces the key column's type when not empty
    QTest::addColumn<QString>("values"); // SQL literals in row order, separated by '|'
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("keys");   // of the loaded records, in order
    QTest::addColumn<QString>("stored"); // their key column's property
    QTest::addColumn<QString>("absent");

    const QString none;
    QTest::newRow("no rows") << u"group"_s << u"itablegroup"_s << none << none << true << none
                             << none << none;
    // The key is trimmed, the property keeps what the row holds.
    QTest::newRow("trimmed keys") << u"setdict"_s << u"ctablecode"_s << none
                                  << u"' HR002 '|'HR001'|'hr_ct001  '"_s << true
                                  << u"hr002|HR001|HR_CT001"_s << u" HR002 |HR001|hr_ct001  "_s
                                  << u" HR002 "_s;
    QTest::newRow("stops at NULL key")
        << u"setdict"_s << u"ctablecode"_s << none << u"'HR001'|'HR002'|NULL|'HR004'"_s << false
        << u"HR001|HR002"_s << u"HR001|HR002"_s << u"HR004"_s;
    QTest::newRow("stops at key differing in case only")
        << u"code"_s << u"ccodeid"_s << none << u"'a1'|'A2'|'A1'|'A3'"_s << false << u"A1|a2"_s
        << u"a1|A2"_s << u"A3"_s;
    // Item keys join the trimmed table and item codes.
    QTest::newRow("item keys include the table")
        << u"itemdict"_s << u"ctablecode"_s << none << u"'HR001 '|' HR002'"_s << true
        << u"hr001^vname|HR002^VNAME"_s << u"HR001 | HR002"_s << u"vName|HR001 ^vName"_s;
    // Codes are keyed as they stand, blanks included.
    QTest::newRow("code keys keep blanks")
        << u"code"_s << u"ccodeid"_s << u"char(6)"_s << u"'01  '|' 02'"_s << true << u"01  | 02"_s
        << u"01  | 02"_s << u"01|02"_s;
    // The key is the column's text, not the record's number.
    QTest::newRow("text ids") << u"datatype"_s << u"id"_s << u"varchar(4)"_s << u"' 07 '"_s << true
                              << u"07"_s << u"7"_s << u"7"_s;
}

void tst_Model::load()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(QString, type);
    QFETCH(QString, values);

    test::TestDatabase db(false);
    seed(db.conn(), kind, column, list(values), type);
    visit(kind, [&](auto, auto coll) { checkLoad(db.conn(), kind, coll); });
}

void tst_Model::loadKeepsRecordThatFailedPartWay()
{
    test::TestDatabase db(false);
    seed(db.conn(), u"itemdict"_s, u"cItemCode"_s, {u"'a'"_s, u"'b'"_s, u"'c'"_s});
    db.conn().Execute(u"update t set iShowOrder = 40000 where cItemCode = 'b'"_s);

    clsHrSysItemDicts items;
    QVERIFY(!items.Load(db.conn(), u"select * from t order by cItemCode"_s));
    QCOMPARE(items.Count(), 2);
    const auto failed = items.Item(u"HR001^B"_s);
    QCOMPARE(failed->ItemCode(), u"b"_s);        // read before the failing column
    QCOMPARE(failed->ShowOrder(), qint16(99));   // the failing column: still the default
    QCOMPARE(failed->BusinessFlag(), qint16(4)); // after it: never read
    QVERIFY(!items.Exists(u"HR001^c"_s));

    // A duplicate key before the failing row stops the load there.
    db.conn().Execute(u"update t set cItemCode = 'A' where cItemCode = 'c'"_s);
    items.Clear();
    QVERIFY(!items.Load(db.conn(),
                        u"select * from t order by cItemCode = 'b', "_s
                            + inInsertionOrder().section(u' ', -1)));
    QCOMPARE(items.Count(), 1);
    QVERIFY(!items.Exists(u"HR001^b"_s));
}

void tst_Model::loadFailsOnBadStatementAndAppends()
{
    test::TestDatabase db(false);
    seed(db.conn(), u"group"_s, u"iTableGroup"_s, {u"1"_s, u"2"_s, u"3"_s, u"9"_s});

    clsHrSystGroups groups;
    QVERIFY(!groups.Load(db.conn(), u"select * from no_such_table"_s));
    QVERIFY(!groups.Load(db.conn(), QString()));
    // Rows without the key column, or without a column the record reads.
    QVERIFY(!groups.Load(db.conn(), u"select vDescription, bsysflag, vmemo from t"_s));
    QCOMPARE(groups.Count(), 0);
    QVERIFY(!groups.Load(db.conn(), u"select iTableGroup, vDescription from t"_s));
    QCOMPARE(groups.Count(), 1); // added under its key, then the missing bsysflag stopped it
    QCOMPARE(groups.Item(1)->description(), u"职务"_s);

    db::Connection closed;
    QVERIFY(!groups.Load(closed, u"select * from t"_s));
    QVERIFY(!groups.Load(u"select * from t"_s)); // no shared connection yet
    QCOMPARE(groups.Count(), 1);

    Defs::instance().connection = std::shared_ptr<db::Connection>(db.openAnother());
    groups.Clear();
    QVERIFY(groups.Load(u"select * from t where iTableGroup < 3"_s));
    QVERIFY(groups.Load(u"select * from t where iTableGroup >= 3"_s)); // appends
    QCOMPARE(groups.Count(), 4);
    QCOMPARE(groups.Item(4)->TableGroup(), u"9"_s);
    QCOMPARE(groups.Item(u"3"_s)->description(), u"职务"_s);
    // Loading the same rows again stops at the first one, whose key is taken.
    QVERIFY(!groups.Load(u"select * from t order by iTableGroup"_s));
    QCOMPARE(groups.Count(), 4);
}

QTEST_GUILESS_MAIN(tst_Model)
#include "tst_model.moc"
