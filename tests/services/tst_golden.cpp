#include "RecordedStatements.h"
#include "ServiceDatabase.h"

#include "model/clsHrCT.h"
#include "model/clsHrSysDataTypes.h"
#include "model/clsHrSysItemDict.h"
#include "model/clsHrSysSetDict.h"
#include "model/clsHrSystGroup.h"
#include "services/ColumnStatements.h"
#include "services/clsHrCTsFace.h"
#include "services/clsHrSysItemDictsFace.h"
#include "services/clsHrSysSetDictsFace.h"
#include "services/clsHrSystGroupFace.h"

#include <QHash>
#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::RecorderScope;
using vorlane::test::ServiceDatabase;

// Every operation of the four services on the statement recorder, against the T-SQL templates
// with the braces filled in: what the embedded engine forgives (a dropped ON [PRIMARY], a quoted
// number, a lost blank) shows here.
namespace {

using Values = QHash<QString, QString>;

// Fills every "{Name}" of the templates; extra holds "Name=value" pairs of the row.
QStringList filled(const QStringList &templates, Values values, const QStringList &extra = {})
{
    for (const QString &pair : extra)
        values.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    QStringList out;
    for (QString text : templates) {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            text.replace(u'{' + it.key() + u'}', it.value());
        out << text;
    }
    return out;
}

// "Name=value" pairs separated by '|'; values may hold blanks.
Values valuesFrom(const QString &pairs)
{
    Values values;
    for (const QString &pair : pairs.split(u'|'))
        values.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    return values;
}

const QString dropT = u"if exists (select * from sysobjects where id = object_id(N'{T}') and "
                      "OBJECTPROPERTY(id, N'IsUserTable') = 1)  drop table {T}"_s;
// The person, department and job tables: their key column, then the same four columns.
QString keyed(const QString &keyColumn)
{
    return dropT + u" CREATE TABLE {T} (PK_{T}   ZQUID NOT NULL , "_s + keyColumn
           + u" NOT NULL, iRecordID   int, blastflag bit not null default 1, vstatus1  "
             "nvarchar(50), nstatus2  numeric, Primary Key( PK_{T}));"_s;
}
const QString createR3 = dropT
                         + u" CREATE TABLE {T} (PK_{T}   ZQUID NOT NULL , cDutycode      "
                           "VARCHAR(20) NOT NULL, iRecordID   int, blastflag bit not null default "
                           "1, vstatus1  nvarchar(50), nstatus2  numeric, Primary Key(PK_{T}));"_s;
const QString createR9
    = dropT + u" CREATE TABLE {T} (PK_{T}   ZQUID NOT NULL  Primary Key( PK_{T}));"_s;

} // namespace

class TestGolden : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setDictsFace_data();
    void setDictsFace();
    void itemDictsFace_data();
    void itemDictsFace();
    void ctsFace_data();
    void ctsFace();
    void systGroupFace_data();
    void systGroupFace();
};

void TestGolden::setDictsFace_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("argument"); // node key or table type
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("flag");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QStringList>("templates");

    const QString code = u"HR_GOLD"_s;
    // Lower case and a set key name the group as well; attendance and "^" first are key-only.
    const QList<std::pair<QString, QString>> creates{
        {u"R1"_s, keyed(u"cPsn_Num    VARCHAR(10)"_s)},
        {u"r2"_s, keyed(u"cDepCode    VARCHAR(12)"_s)},
        {u"CR3^HR_OLD^"_s, createR3},
        {u"R4"_s, keyed(u"cJobcode     VARCHAR(20)"_s)},
        {u"R9"_s, createR9},
        {u"R5"_s, createR9},
        {u"^R1"_s, createR9}};
    for (const auto &[key, create] : creates)
        QTest::addRow("CreateTable %s", qPrintable(key))
            << u"CreateTable"_s << key << code << false << true << QStringList()
            << QStringList{create};
    QTest::newRow("DropTable") << u"DropTable"_s << QString() << code << false << true
                               << QStringList() << QStringList{dropT};

    const QString dictInsert
        = u"insert hr_sys_setdict  (cTableCode,vTableName,vdescription,iTableGroup,iTableClass,"
          "icodeLen,bMultiLevel,vcodeFormat,iTableType,icycleType,iBusinessFlag,iFunctionScope,"
          "bsysFlag,vParentTable,bChildFlag,bdelFlag,ishowOrder,vdisplayItem,vmainKey,bDisplay,"
          "vMemo)  values  ('{TableCode}','{TableName}','{description}','{TableGroup}',"
          "'{TableClass}','{CodeLen}','{MultiLevel}','{CodeFormat}','{TableType}','{CycleType}',"
          "'{BusinessFlag}','{FunctionFlag}','{sFlag}','{ParentTable}','{cFlag}','{dFlag}',"
          "'{ShowOrder}','{DisplayItem}','{MainKey}','{Display}','{Memo}')"_s;
    const QString reportInsert
        = u"insert Rpt_GRPDEF  (Systemid,Tablename,Tabledefine,Tabletype,SystemName)  values  "
          "('HM','{TableCode}','{TableName}','{TableGroup}','人事信息管理')"_s;
    const QString busInsert
        = u"insert AA_BusObject  (cBusObId,cBusObName,iAuthType,bAuthControl,cSub_ID)  values  "
          "('{TableCode}','{TableName}','{iAuthType}','{bAuthControl}','HM')"_s;
    QTest::newRow("Add") << u"Add"_s << u"1"_s << code << true << true
                         << QStringList{u"iAuthType=1"_s, u"bAuthControl=1"_s}
                         << QStringList{dictInsert, reportInsert, busInsert};
    QTest::newRow("Add type 5") << u"Add"_s << u"5"_s << code << true << true
                                << QStringList{u"iAuthType=0"_s, u"bAuthControl=0"_s}
                                << QStringList{dictInsert, reportInsert, busInsert};
    QTest::newRow("Add type ' 5' is no type 5")
        << u"Add"_s << u" 5"_s << code << true << true
        << QStringList{u"iAuthType=1"_s, u"bAuthControl=1"_s}
        << QStringList{dictInsert, reportInsert, busInsert};
    QTest::newRow("Add without business object")
        << u"Add"_s << u"1"_s << code << false << true << QStringList()
        << QStringList{dictInsert, reportInsert};

    const QString dictUpdate
        = u"update hr_sys_setdict  set vTableName='{TableName}',  vdescription='{description}',  "
          "bMultiLevel='{MultiLevel}',  vParentTable='{ParentTable}',  "
          "iFunctionScope='{FunctionFlag}',  iTableType='{TableType}',  "
          "iTableClass='{TableClass}',  bsysFlag='{sFlag}',  icycleType='{CycleType}',  "
          "ishoworder='{ShowOrder}',  bDisplay='{Display}',  vmemo='{Memo}'  "
          "where ctablecode='{TableCode}'"_s;
    const QString reportUpdate = u"update Rpt_GRPDEF  set Tabledefine='{TableName}',  "
                                 "Tabletype='{TableGroup}' where Tablename='{TableCode}'"_s;
    QTest::newRow("Modify") << u"Modify"_s << u"1"_s << code << true << true << QStringList()
                            << QStringList{dictUpdate,
                                           reportUpdate,
                                           u"update AA_BusObject  set cBusObName='{TableName}',  "
                                           "iAuthType= {Display},   bAuthControl={Display} "
                                           "where cBusObId='{TableCode}'"_s};
    QTest::newRow("Modify type 5") << u"Modify"_s << u"5"_s << code << true << true << QStringList()
                                   << QStringList{dictUpdate,
                                                  reportUpdate,
                                                  u"update AA_BusObject  set "
                                                  "cBusObName='{TableName}',  iAuthType=0,   "
                                                  "bAuthControl=0  where cBusObId='{TableCode}'"_s};
    QTest::newRow("Modify without business object")
        << u"Modify"_s << u"1"_s << code << false << true << QStringList()
        << QStringList{dictUpdate, reportUpdate};
    QTest::newRow("Modify padded code") << u"Modify"_s << u"1"_s << u"HR_GOLD   "_s << false << true
                                        << QStringList() << QStringList{dictUpdate, reportUpdate};
    QTest::newRow("Modify blank code")
        << u"Modify"_s << u"1"_s << u"  "_s << true << false << QStringList() << QStringList();
    QTest::newRow("ModifyDelFlag padded code")
        << u"ModifyDelFlag"_s << QString() << u"HR_GOLD  "_s << false << true << QStringList()
        << QStringList{u"update hr_sys_setdict  set bdelFlag= 1 where ctablecode='{sTable}'"_s,
                       u"delete from hr_sys_CategoriesMember where ctablecode='{sTable}'"_s};
    QTest::newRow("Delete padded code")
        << u"Delete"_s << QString() << u" HR_GOLD "_s << false << true << QStringList()
        << QStringList{u"delete from hr_sys_setdict where ctablecode='{TableCode}'"_s,
                       u"delete from Rpt_GRPDEF where Tablename='{TableCode}' and systemid='HM'"_s,
                       u"delete from hr_sys_CategoriesMember where ctablecode='{TableCode}'"_s,
                       u"delete from AA_BusObject where cBusObId='{TableCode}' and cSub_Id='HM'"_s};
    QTest::newRow("Delete blank code") << u"Delete"_s << QString() << QString() << false << false
                                       << QStringList() << QStringList();
}

void TestGolden::setDictsFace()
{
    QFETCH(QString, operation);
    QFETCH(QString, argument);
    QFETCH(QString, code);
    QFETCH(bool, flag);
    QFETCH(bool, result);
    QFETCH(QStringList, extra);
    QFETCH(QStringList, templates);

    const QString fields = u"%1|金色信息集|说明 文字|9|2|7|1|2-2-2|%2|4|5|6|1|hr_hi_person|1|0|42|"
                           "cName|cPsn_Num|1|备注 "_s.arg(code, argument);
    const clsHrSysSetDict set = test::setFrom(fields, u'|');
    Values values = test::named(test::setFields, fields.split(u'|'));
    values.insert(u"TableCode"_s, u"HR_GOLD"_s);
    values.insert(u"T"_s, u"HR_GOLD"_s);
    values.insert(u"sTable"_s, u"HR_GOLD"_s);

    ServiceDatabase sdb;
    clsHrSysSetDictsFace face;
    RecorderScope rec(sdb.conn());
    bool ok = false;
    if (operation == u"CreateTable")
        ok = face.CreateTable(code, argument);
    else if (operation == u"DropTable")
        ok = face.DropTable(code);
    else if (operation == u"Add")
        ok = face.Add(set, argument, flag);
    else if (operation == u"Modify")
        ok = face.Modify(set, argument, flag);
    else if (operation == u"ModifyDelFlag")
        ok = face.ModifyDelFlag(code);
    else if (operation == u"Delete")
        ok = face.Delete(code);
    QVERIFY2(ok == result, qPrintable(face.lastError()));
    QCOMPARE(rec->statements(), filled(templates, values, extra));
}

void TestGolden::itemDictsFace_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("defaultField");
    QTest::addColumn<int>("display");
    QTest::addColumn<QStringList>("templates");

    const QString t = u"HR_GOLD"_s;
    const QString c = u"cGold"_s;
    const QString dictInsert
        = u"insert hr_sys_itemdict  (cTableCode,citemCode,vitemName,vdescription,iitemType,"
          "vReferenceObj,bLastLevelFlag,iitemLen,iitemDec,bsysFlag,brecordFlag,bnullFlag,vDefault,"
          "vFormat,bdelFlag,ishowOrder,iBusinessFlag,bdefault,bDisplay,vMemo)  values  "
          "('{TableCode}','{ItemCode}','{itemname}','{description}','{itemtype}','{ReferenceObj}',"
          "'{LastLevelFalg}','{itemlen}','{itemdec}','{sFlag}','{rflag}','{nflag}','{sdefault}',"
          "'{sformat}','{dFlag}','{ShowOrder}','{BusinessFlag}','{DefaultField}','{Display}',"
          "'{Memo}')"_s;
    const QString reportInsert
        = u"insert Rpt_ItmDEF  (FieldName,TableName,TableDef,FieldDef,FieldType,FieldID)  values  "
          "('{ItemCode}','{TableCode}','{sTableDef}','{itemname}','{FactType}',{ShowOrder})"_s;
    QTest::newRow("Add default item")
        << u"Add"_s << t << c << 1 << 0
        << QStringList{dictInsert,
                       reportInsert,
                       u"insert AA_Columndic  (cKey,cFld,cCaption,iColPos,bMustSel)  values  "
                       "('{TableCode}','{ItemCode}','{itemname}','',1 )"_s};
    QTest::newRow("Add displayed item")
        << u"Add"_s << t << c << 0 << 1
        << QStringList{dictInsert,
                       reportInsert,
                       u"insert AA_Columndic  (cKey,cFld,cCaption,iColPos,bMustSel)  values  "
                       "('{TableCode}','{ItemCode}','{itemname}','',{rflag} )"_s};
    QTest::newRow("Add hidden item") << u"Add"_s << t << c << 0 << 0 << QStringList{dictInsert};
    QTest::newRow("Delete") << u"Delete"_s << t << QString() << 0 << 0
                            << QStringList{
                                   u"delete from hr_sys_itemdict where ctablecode='{TableCode}'"_s,
                                   u"delete from Rpt_ItmDEF where TableName='{TableCode}' "_s,
                                   u"delete from AA_ColumnDic where cKey='{TableCode}' "_s};
    const QStringList deleteItem{
        u"delete from hr_sys_itemdict where ctablecode='{TableCode}' and citemCode='{ItemCode}'"_s,
        u"delete from Rpt_ItmDEF where TableName='{TableCode}' and FieldName='{ItemCode}'"_s,
        u"delete from AA_Columndic where ckey='{TableCode}' and cfld='{ItemCode}'"_s};
    QTest::newRow("DeleteItem") << u"DeleteItem"_s << t << c << 0 << 0 << deleteItem;
    QTest::newRow("DeleteItem padded codes")
        << u"DeleteItem"_s << u"HR_GOLD  "_s << u"cGold "_s << 0 << 0 << deleteItem;
    QTest::newRow("DeleteItem blank item")
        << u"DeleteItem"_s << t << u"   "_s << 0 << 0 << QStringList();
    const QString typesQuery = u"select * from hr_sys_dataType"_s;
    const QString dictUpdate
        = u"update hr_sys_itemdict  set vItemName='{itemname}',  vdescription='{description}',  "
          "blastLevelflag='{LastLevelFalg}',  iitemLen='{itemlen}',  "
          "vReferenceObj='{ReferenceObj}',  iitemDec='{itemdec}',  brecordflag='{rflag}',  "
          "bnullflag='{nflag}',  bsysflag='{sFlag}',  vdefault='{sdefault}',  "
          "vFormat='{sformat}',  ishowOrder='{ShowOrder}',  bDisplay='{Display}',  "
          "vmemo='{Memo}'  where ctablecode='{TableCode}' and citemcode='{ItemCode}'"_s;
    QTest::newRow("Modify displayed item")
        << u"Modify"_s << t << c << 0 << 1
        << QStringList{typesQuery,
                       dictUpdate,
                       u"update Rpt_ItmDEF  set FieldDef='{itemname}',   FieldType='{FactType}' "
                       "where FieldName='{ItemCode}' and TableName='{TableCode}'"_s,
                       u"update AA_Columndic  set cCaption='{itemname}',bMustSel={rflag} "
                       "where ckey='{TableCode}' and cfld='{ItemCode}'"_s};
    QTest::newRow("Modify hidden item")
        << u"Modify"_s << t << c << 0 << 0 << QStringList{typesQuery, dictUpdate};
    QTest::newRow("Modify padded codes") << u"Modify"_s << u"HR_GOLD "_s << u"cGold   "_s << 0 << 0
                                         << QStringList{typesQuery, dictUpdate};
    QTest::newRow("ModifyDelFlag padded codes")
        << u"ModifyDelFlag"_s << u"HR_GOLD "_s << u"cGold  "_s << 0 << 0
        << QStringList{u"update hr_sys_itemdict  set bdelFlag= 1 where ctablecode='{sTable}' "
                       "and citemCode='{sItemCode}'"_s};
    QTest::newRow("InsertTableField")
        << u"InsertTableField"_s << t << c << 0 << 0
        << QStringList{u"ALTER TABLE {TableCode} ADD cNew varchar(20)  null ,"
                       "nPay numeric(12,2)  null ,cNote nvarchar(max)  null "_s};
    QTest::newRow("UpdateTableField")
        << u"UpdateTableField"_s << t << c << 0 << 0
        << QStringList{u"ALTER TABLE {TableCode} ALTER COLUMN {ItemCode} varchar(30)"_s};
    QTest::newRow("DeleteTableField")
        << u"DeleteTableField"_s << t << c << 0 << 0
        << QStringList{u"ALTER TABLE {TableCode} DROP COLUMN {ItemCode}"_s};
}

void TestGolden::itemDictsFace()
{
    QFETCH(QString, operation);
    QFETCH(QString, table);
    QFETCH(QString, item);
    QFETCH(int, defaultField);
    QFETCH(int, display);
    QFETCH(QStringList, templates);

    const QString fields
        = u"%1|%2|金额 名|说明|2|HR_CT001|1|20|0|1|0|1|无|yyyy-mm-dd|0|12|3|%3|%4|备注 "_s
              .arg(table, item)
              .arg(defaultField)
              .arg(display);
    clsHrSysItemDict dict = test::itemFrom(fields, u'|');
    Values values = test::named(test::itemFields, fields.split(u'|'));
    values.insert(u"TableCode"_s, u"HR_GOLD"_s);
    values.insert(u"ItemCode"_s, u"cGold"_s);
    values.insert(u"sTable"_s, u"HR_GOLD"_s);
    values.insert(u"sItemCode"_s, u"cGold"_s);
    values.insert(u"sTableDef"_s, u"金色信息集"_s);
    values.insert(u"FactType"_s, u"varchar"_s);

    ServiceDatabase sdb;
    sdb.exec(u"create table HR_GOLD (PK_HR_GOLD varchar(36) primary key, cGold varchar(20))"_s);
    clsHrSysDataTypes types;
    QVERIFY(types.Load(u"select * from hr_sys_datatype"_s));
    clsHrSysItemDictsFace face;
    RecorderScope rec(sdb.conn());
    bool ok = false;
    if (operation == u"Add") {
        ok = face.Add(dict, u"金色信息集"_s, false, types);
    } else if (operation == u"Delete") {
        ok = face.Delete(table);
    } else if (operation == u"DeleteItem") {
        ok = face.DeleteItem(table, item);
    } else if (operation == u"Modify") {
        ok = face.Modify(dict);
    } else if (operation == u"ModifyDelFlag") {
        ok = face.ModifyDelFlag(table, item);
    } else if (operation == u"InsertTableField") {
        QStringList definitions;
        try {
            definitions
                << ColumnStatements::AddDefinition(u"cNew"_s, u"2"_s, u"varchar"_s, u"20"_s, u"0"_s)
                << ColumnStatements::AddDefinition(u"nPay"_s, u"4"_s, u"numeric"_s, u"12"_s, u"2"_s)
                << ColumnStatements::AddDefinition(u"cNote"_s, u"3"_s, u"nvarchar(max)"_s, {}, {});
        } catch (const db::DbError &e) {
            QFAIL(qPrintable(e.message()));
        }
        ok = face.InsertTableField(ColumnStatements::AddStatement(table, definitions));
    } else if (operation == u"UpdateTableField") {
        dict.setItemlen(u"30"_s);
        ok = face.UpdateTableField(ColumnStatements::AlterStatement(dict, types));
    } else if (operation == u"DeleteTableField") {
        ok = face.DeleteTableField(ColumnStatements::DropStatement(dict));
    }
    QVERIFY2(ok == !templates.isEmpty(), qPrintable(face.lastError()));
    QCOMPARE(rec->statements(), filled(templates, values));
}

void TestGolden::ctsFace_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("likeCode"); // the code as the server's LIKE prefix
    QTest::addColumn<QStringList>("templates");

    const QString t = u"HR_CT950"_s;
    QTest::newRow("CreateTable")
        << u"CreateTable"_s << t << QString() << QString()
        << QStringList{
               u"if exists (select * from sysobjects where id = object_id(N'{T}') and "
               "OBJECTPROPERTY(id, N'IsUserTable') = 1)  drop table {T} CREATE TABLE {T} (     "
               "[ccodeID] [varchar] (30) COLLATE Chinese_PRC_CI_AS NOT NULL ,     [vdescription] "
               "[nvarchar] (60) COLLATE Chinese_PRC_CI_AS NOT NULL ,     [vsimpleName] [nvarchar] "
               "(60) COLLATE Chinese_PRC_CI_AS NULL ,     [vsimpleSpell] [varchar] (60) COLLATE "
               "Chinese_PRC_CI_AS NULL ,     [ilevels] [int] NULL ,     [cpCodeID] [varchar] (30) "
               "COLLATE Chinese_PRC_CI_AS NULL ,     [bsysFlag] [char] (1) COLLATE "
               "Chinese_PRC_CI_AS NULL ,     [bChildFlag] [char] (1) COLLATE Chinese_PRC_CI_AS "
               "NULL ,     [bhideFlag] [char] (1) COLLATE Chinese_PRC_CI_AS NULL ,     [vMemo] "
               "[varchar] (200) COLLATE Chinese_PRC_CI_AS NULL     Primary Key(ccodeId)  ) ON "
               "[PRIMARY] "_s,
               // Our own: indexes for the archive browser's level and parent lookups.
               u"create index IX_{T}_ilevels on {T} (ilevels)"_s,
               u"create index IX_{T}_cpCodeID on {T} (cpCodeID)"_s,
               u"select * from hr_bd_fld where ctable='HR_CT'"_s,
               u"insert hr_sys_itemdict (  ctablecode ,{names} ) values ('{T}','ccodeID',"
               "'档案编码','档案 编码','2','','0','30','0','0','1','1','','','0','1','1','4','1','')"_s,
               u"insert hr_sys_itemdict (  ctablecode ,{names} ) values ('{T}','vMemo','备注','',"
               "'0','','0','200','0','1','0','0','无 ','','0','1','10','0','1','x')"_s};
    QTest::newRow("Add") << u"Add"_s << t << u"01_2"_s << QString()
                         << QStringList{u"insert {strTable} (ccodeID,vdescription,vsimpleName,"
                                        "vsimpleSpell,ilevels,cpCodeID,bsysFlag,bChildFlag,"
                                        "bhideFlag,vMemo)  values  ('{CodeId}','{description}',"
                                        "'{SimpleName}','{SimpleSpell}','{Levels}','{pCodeId}',"
                                        "'{sFlag}','{cFlag}','{HideFlag}','{Memo}')"_s};
    const QString codeUpdate
        = u"update {TableCode} set vDescription='{description}',  vsimpleName='{SimpleName}',  "
          "vsimpleSpell='{SimpleSpell}',  bsysFlag='{sFlag}',  bChildFlag='{cFlag}',  "
          "bhideFlag='{HideFlag}',  vmemo='{Memo}'  where ccodeId='{CodeId}'"_s;
    const QString hideSpread
        = u"update {TableCode} set  bhideFlag='{HideFlag}' where ccodeId like '{LikeId}%'"_s;
    QTest::newRow("Modify") << u"Modify"_s << t << u"0102"_s << u"0102"_s
                            << QStringList{codeUpdate, hideSpread};
    QTest::newRow("Modify pattern characters") << u"Modify"_s << t << u"0_%[]"_s << u"0[_][%][[]]"_s
                                               << QStringList{codeUpdate, hideSpread};
    QTest::newRow("Modify blank table")
        << u"Modify"_s << u" "_s << u"0102"_s << QString() << QStringList();
    const QString deleteSubtree = u"delete from {TableCode}  where ccodeId like'{LikeId}%'"_s;
    QTest::newRow("Delete") << u"Delete"_s << t << u"0102"_s << u"0102"_s
                            << QStringList{deleteSubtree};
    QTest::newRow("Delete pattern characters")
        << u"Delete"_s << t << u"01_2"_s << u"01[_]2"_s << QStringList{deleteSubtree};
    QTest::newRow("Delete blank code") << u"Delete"_s << t << u"  "_s << QString() << QStringList();
}

void TestGolden::ctsFace()
{
    QFETCH(QString, operation);
    QFETCH(QString, table);
    QFETCH(QString, code);
    QFETCH(QString, likeCode);
    QFETCH(QStringList, templates);

    clsHrCT ct;
    ct.setCodeId(code);
    ct.setDescription(u"代码 名称"_s);
    ct.setSimpleName(u"简称"_s);
    ct.setSimpleSpell(u"DMMC"_s);
    ct.setLevels(2);
    ct.setPCodeId(u"01"_s);
    ct.setSFlag(u"1"_s);
    ct.setCFlag(u"0"_s);
    ct.setHideFlag(u"1"_s);
    ct.setMemo(u"备注 "_s);
    const QString names = u"cItemCode,vItemName,vdescription,iItemType,vReferenceObj,"
                          "bLastLevelFlag,iItemLen,iItemDec,bsysFlag,brecordFlag,bnullFlag,"
                          "vDefault,vFormat,bdelFlag,bdisplay,ishowOrder,iBusinessFlag,bdefault,"
                          "vMemo"_s;
    Values values
        = valuesFrom(u"T=HR_CT950|strTable=HR_CT950|TableCode=HR_CT950|description=代码 名称|"
                     "SimpleName=简称|SimpleSpell=DMMC|Levels=2|pCodeId=01|sFlag=1|cFlag=0|"
                     "HideFlag=1|Memo=备注 "_s);
    values.insert(u"CodeId"_s, code);
    values.insert(u"LikeId"_s, likeCode);
    values.insert(u"names"_s, names);

    ServiceDatabase sdb;
    // A template of two rows: NULL integers read as 0, NULL texts as '', bits as 0 or 1.
    sdb.exec(u"delete from hr_bd_fld where cTable='HR_CT'"_s);
    sdb.exec(u"insert into hr_bd_fld (cTable,"_s + names
             + u") values ('HR_CT','ccodeID','档案编码','档案 编码',2,NULL,0,30,0,0,1,1,NULL,NULL,"
               "0,1,1,4,1,NULL), ('HR_CT','vMemo','备注',NULL,NULL,NULL,NULL,200,NULL,1,0,0,'无 ',"
               "NULL,NULL,1,10,NULL,1,'x')"_s);
    clsHrCTsFace face;
    if (operation != u"CreateTable")
        QVERIFY2(face.CreateTable(u"HR_CT950"_s), qPrintable(face.lastError()));
    RecorderScope rec(sdb.conn());
    bool ok = false;
    if (operation == u"CreateTable")
        ok = face.CreateTable(table);
    else if (operation == u"Add")
        ok = face.Add(ct, table);
    else if (operation == u"Modify")
        ok = face.Modify(ct, table);
    else if (operation == u"Delete")
        ok = face.Delete(table, code);
    QVERIFY2(ok == !templates.isEmpty(), qPrintable(face.lastError()));
    QStringList built = rec->statements();
    QStringList expected = filled(templates, values);
    // The template's column names, read through "select *", come in PostgreSQL's lower case.
    if (test::TestDatabase::onPostgres() && operation == u"CreateTable") {
        built = built.join(u'\n').toLower().split(u'\n');
        expected = expected.join(u'\n').toLower().split(u'\n');
    }
    QCOMPARE(built, expected);
}

void TestGolden::systGroupFace_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("templates");

    const QString update
        = u"update hr_sys_tgroup set  vdescription='{description}',  "
          "bsysFlag='{sFlag}',  vmemo='{Memo}'  where itablegroup='{TableGroup}'"_s;
    const QString insert = u"insert hr_sys_tgroup  (itablegroup,vdescription,bsysFlag,vMemo)  "
                           "values  ('{TableGroup}','{description}','{sFlag}','{Memo}')"_s;
    QTest::newRow("Modify") << u"Modify"_s << u"9"_s << true << QStringList{update};
    QTest::newRow("Modify missing group") << u"Modify"_s << u"8"_s << true << QStringList{update};
    QTest::newRow("Add") << u"Add"_s << u"7"_s << true << QStringList{insert};
    QTest::newRow("Add existing group") << u"Add"_s << u"9"_s << false << QStringList{insert};
}

void TestGolden::systGroupFace()
{
    QFETCH(QString, operation);
    QFETCH(QString, group);
    QFETCH(bool, result);
    QFETCH(QStringList, templates);

    clsHrSystGroup g;
    // Modify takes the group from its argument, never from the record.
    g.setTableGroup(operation == u"Modify" ? u"0"_s : group);
    g.setDescription(u"其他 类"_s);
    g.setSFlag(1);
    g.setMemo(u"备注 "_s);
    Values values = valuesFrom(u"description=其他 类|sFlag=1|Memo=备注 "_s);
    values.insert(u"TableGroup"_s, group);

    ServiceDatabase sdb;
    clsHrSystGroupFace face;
    RecorderScope rec(sdb.conn());
    const bool ok = operation == u"Modify" ? face.Modify(g, group) : face.Add(g);
    QCOMPARE(ok, result);
    QCOMPARE(rec->statements(), filled(templates, values));
}

int runGoldenTests(int argc, char **argv)
{
    TestGolden t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_golden.moc"
