#include "TestDatabase.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/FieldType.h"
#include "db/TsqlTranslator.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using vorlane::db::Connection;
using vorlane::db::DbError;
using vorlane::db::Recordset;
using vorlane::db::SqliteStep;
using vorlane::db::TsqlTranslator;
using vorlane::test::TestDatabase;

namespace {

// "header;row;row", columns joined by "|", NULL written as NULL.
QString dump(Recordset &rs)
{
    QStringList names;
    for (int i = 0; i < rs.FieldCount(); ++i)
        names << rs.FieldName(i);
    QStringList lines{names.join(u'|')};
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList values;
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const QVariant v = rs.FieldValue(i);
            values << (rs.FieldIsNull(i)               ? u"NULL"_s
                       : v.typeId() == QMetaType::Bool ? QString::number(v.toInt())
                                                       : v.toString());
        }
        lines << values.join(u'|');
    }
    return lines.join(u';');
}

QString native(Connection &conn, const QString &sql)
{
    auto rs = conn.engine().QueryNative(sql);
    return dump(*rs);
}

QString tsql(Connection &conn, const QString &sql)
{
    auto rs = conn.OpenRecordset(sql);
    return dump(*rs);
}

QString columnsOf(const QString &table)
{
    return u"select name||' '||type||' '||\"notnull\"||' '||pk as c from pragma_table_info('"_s
           + table + u"')"_s;
}

// The physical-table statements exactly as the set and code table services build them.
QString dropPart(const QString &t)
{
    return u"if exists (select * from sysobjects where id = object_id(N'%1') and "
           "OBJECTPROPERTY(id, N'IsUserTable') = 1)  drop table %1"_s.arg(t);
}

QString createSet(const QString &t, const QString &keyColumn)
{
    if (keyColumn.isEmpty())
        return dropPart(t)
               + u" CREATE TABLE %1 (PK_%1   ZQUID NOT NULL  Primary Key( PK_%1));"_s.arg(t);
    return dropPart(t)
           + u" CREATE TABLE %1 (PK_%1   ZQUID NOT NULL , %2 NOT NULL, iRecordID   int, "
             "blastflag bit not null default 1, vstatus1  nvarchar(50), nstatus2  numeric, "
             "Primary Key( PK_%1));"_s.arg(t, keyColumn);
}

QString createCodeTable(const QString &t)
{
    return dropPart(t)
           + u" CREATE TABLE %1 (     [ccodeID] [varchar] (30) COLLATE Chinese_PRC_CI_AS NOT NULL ,"
             "     [vdescription] [nvarchar] (60) COLLATE Chinese_PRC_CI_AS NOT NULL ,"
             "     [vsimpleName] [nvarchar] (60) COLLATE Chinese_PRC_CI_AS NULL ,"
             "     [vsimpleSpell] [varchar] (60) COLLATE Chinese_PRC_CI_AS NULL ,"
             "     [ilevels] [int] NULL ,"
             "     [cpCodeID] [varchar] (30) COLLATE Chinese_PRC_CI_AS NULL ,"
             "     [bsysFlag] [char] (1) COLLATE Chinese_PRC_CI_AS NULL ,"
             "     [bChildFlag] [char] (1) COLLATE Chinese_PRC_CI_AS NULL ,"
             "     [bhideFlag] [char] (1) COLLATE Chinese_PRC_CI_AS NULL ,"
             "     [vMemo] [varchar] (200) COLLATE Chinese_PRC_CI_AS NULL     Primary Key(ccodeId)"
             "  ) ON [PRIMARY] "_s.arg(t);
}

QString addCode(const QString &t,
                const QString &code,
                const QString &name,
                int level,
                const QString &parent,
                const QString &hide = u"0"_s)
{
    return u"insert %1 (ccodeID,vdescription,vsimpleName,vsimpleSpell,ilevels,cpCodeID,bsysFlag,"
           "bChildFlag,bhideFlag,vMemo)  values  ('%2','%3','%3','','%4','%5','1','0','%6','')"_s
               .arg(t, code, name, QString::number(level), parent, hide);
}

QString codeTableWithCodes()
{
    return createCodeTable(u"HR_CT901"_s) + u"\n"_s
           + addCode(u"HR_CT901"_s, u"01"_s, u"甲"_s, 0, {}) + u"\n"_s
           + addCode(u"HR_CT901"_s, u"0101"_s, u"乙"_s, 1, u"01"_s) + u"\n"_s
           + addCode(u"HR_CT901"_s, u"0102"_s, u"丙"_s, 1, u"01"_s) + u"\n"_s
           + addCode(u"HR_CT901"_s, u"010201"_s, u"丁"_s, 2, u"0102"_s) + u"\n"_s
           + addCode(u"HR_CT901"_s, u"02"_s, u"戊"_s, 0, {});
}

QString addSet(const QString &code, const QString &name, int tableClass, int group, int order = 900)
{
    return u"insert hr_sys_setdict  (cTableCode,vTableName,vdescription,iTableGroup,iTableClass,"
           "icodeLen,bMultiLevel,vcodeFormat,iTableType,icycleType,iBusinessFlag,iFunctionScope,"
           "bsysFlag,vParentTable,bChildFlag,bdelFlag,ishowOrder,vdisplayItem,vmainKey,bDisplay,"
           "vMemo)  values  ('%1','%2','','%4','%3','30','1','','1','','4','3','1','','0','0',"
           "'%5','','PK_%1','1','')"_s.arg(code,
                                           name,
                                           QString::number(tableClass),
                                           QString::number(group),
                                           QString::number(order));
}

} // namespace

class TstTranslator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statementForms_data();
    void statementForms();
    void translation_data();
    void translation();
    void quotedTokensReachTheEngineUnchanged();
    void convertKeepsItsMeaning_data();
    void convertKeepsItsMeaning();
    void unknownStatementCarriesSqliteMessage_data();
    void unknownStatementCarriesSqliteMessage();
    void rollbackUndoesDdl();
    void codesMatchWithoutCase();
    void prefixLikeUsesIndex();
    void demoDictionaryMatchesWithoutCase();
    void newidDefaultsGiveGuids();
    void executeCountsChangedRows();
    void alterColumnInPlace_data();
    void alterColumnInPlace();
    void alterColumnRebuild_data();
    void alterColumnRebuild();
    void alterColumnRebuildRefusesBadValues();
    void alterColumnRebuildRollsBack();
};

// Every statement form that the component runs, with its effect on SQLite. `setup` and
// `statement` are T-SQL run through the connection; `check` is a SQLite query (empty: the
// statement itself is a query and its result is compared).
void TstTranslator::statementForms_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("expected");

    const QString personColumns
        = u"c;PK_hr_t1 ZQUID 1 1;cPsn_Num VARCHAR(10) 1 0;iRecordID INT 0 0;"
          "blastflag bit 1 0;vstatus1 nvarchar(50) 0 0;nstatus2 numeric 0 0"_s;
    QTest::newRow("CreateTable person over an old table")
        << u"create table hr_t1 (old int); insert hr_t1 (old) values (1)"_s
        << createSet(u"hr_t1"_s, u"cPsn_Num    VARCHAR(10)"_s) << columnsOf(u"hr_t1"_s)
        << personColumns;
    QTest::newRow("CreateTable department")
        << QString() << createSet(u"hr_t2"_s, u"cDepCode    VARCHAR(12)"_s)
        << u"select type, \"notnull\" from pragma_table_info('hr_t2') where name='cDepCode'"_s
        << u"type|notnull;VARCHAR(12)|1"_s;
    QTest::newRow("CreateTable duty, key clause without blank")
        << QString()
        << dropPart(u"hr_t3"_s)
               + u" CREATE TABLE hr_t3 (PK_hr_t3   ZQUID NOT NULL , cDutycode      VARCHAR(20) NOT "
                 "NULL, iRecordID   int, blastflag bit not null default 1, vstatus1  nvarchar(50), "
                 "nstatus2  numeric, Primary Key(PK_hr_t3));"_s
        << u"select name from pragma_table_info('hr_t3') where pk = 1"_s << u"name;PK_hr_t3"_s;
    QTest::newRow("CreateTable job, blastflag default")
        << QString() << createSet(u"hr_t4"_s, u"cJobcode     VARCHAR(20)"_s)
        << u"insert into hr_t4 (PK_hr_t4, cJobcode) values ('g', 'j'); "
           "select blastflag from hr_t4"_s
        << u"blastflag;1"_s;
    QTest::newRow("CreateTable other, key clause without comma")
        << QString() << createSet(u"hr_t9"_s, QString()) << columnsOf(u"hr_t9"_s)
        << u"c;PK_hr_t9 ZQUID 1 1"_s;
    QTest::newRow("CreateTable code table")
        << QString() << createCodeTable(u"HR_CT900"_s) << columnsOf(u"HR_CT900"_s)
        << u"c;ccodeID varchar(30) 1 1;vdescription nvarchar(60) 1 0;vsimpleName nvarchar(60) 0 0;"
           "vsimpleSpell varchar(60) 0 0;ilevels INT 0 0;cpCodeID varchar(30) 0 0;"
           "bsysFlag char(1) 0 0;bChildFlag char(1) 0 0;bhideFlag char(1) 0 0;"
           "vMemo varchar(200) 0 0"_s;
    QTest::newRow("DropTable existing")
        << createSet(u"hr_t9"_s, QString()) << dropPart(u"hr_t9"_s)
        << u"select count(*) as n from sqlite_schema where name = 'hr_t9'"_s << u"n;0"_s;
    QTest::newRow("DropTable missing")
        << QString() << dropPart(u"hr_none"_s)
        << u"select count(*) as n from sqlite_schema where name = 'hr_none'"_s << u"n;0"_s;

    QTest::newRow("set Add: dictionary row")
        << QString() << addSet(u"hr_zz1"_s, u"测试集"_s, 1, 9)
        << u"select cTableCode, vTableName, iTableGroup, typeof(icodeLen), bDisplay, vmainKey "
           "from hr_sys_setdict where cTableCode = 'hr_zz1'"_s
        << u"cTableCode|vTableName|iTableGroup|typeof(icodeLen)|bDisplay|vMainKey;"
           "hr_zz1|测试集|9|integer|1|PK_hr_zz1"_s;
    QTest::newRow("set Add: report catalogue")
        << QString()
        << u"insert Rpt_GRPDEF  (Systemid,Tablename,Tabledefine,Tabletype,SystemName)  values  "
           "('HM','hr_zz1','测试集','9','人事信息管理')"_s
        << u"select Tabledefine, SystemName from Rpt_GRPDEF where Tablename = 'hr_zz1'"_s
        << u"Tabledefine|SystemName;测试集|人事信息管理"_s;
    QTest::newRow("set Add: business object")
        << QString()
        << u"insert AA_BusObject  (cBusObId,cBusObName,iAuthType,bAuthControl,cSub_ID)  values  "
           "('hr_zz1','测试集','1','1','HM')"_s
        << u"select iAuthType, bAuthControl from AA_BusObject where cBusObId = 'hr_zz1'"_s
        << u"iAuthType|bAuthControl;1|1"_s;
    QTest::newRow("set Modify: dictionary row, code in other case")
        << addSet(u"hr_zz1"_s, u"测试集"_s, 1, 9)
        << u"update hr_sys_setdict  set vTableName='新名',  vdescription='d',  bMultiLevel='0',  "
           "vParentTable='',  iFunctionScope='7',  iTableType='2',  iTableClass='1',  "
           "bsysFlag='1',  icycleType='',  ishoworder='12',  bDisplay='0',  vmemo='m'  "
           "where ctablecode='HR_ZZ1'"_s
        << u"select vTableName, iFunctionScope, ishowOrder, bDisplay from hr_sys_setdict "
           "where cTableCode = 'hr_zz1'"_s
        << u"vTableName|iFunctionScope|ishowOrder|bDisplay;新名|7|12|0"_s;
    QTest::newRow("set Modify: report catalogue")
        << u"insert Rpt_GRPDEF  (Systemid,Tablename,Tabledefine,Tabletype,SystemName)  values  "
           "('HM','hr_zz1','测试集','9','人事信息管理')"_s
        << u"update Rpt_GRPDEF  set Tabledefine='新名',  Tabletype='1' where Tablename='HR_zz1'"_s
        << u"select Tabledefine, Tabletype from Rpt_GRPDEF where Tablename = 'hr_zz1'"_s
        << u"Tabledefine|Tabletype;新名|1"_s;
    const QString busObject = u"insert AA_BusObject  (cBusObId,cBusObName,iAuthType,bAuthControl,"
                              "cSub_ID)  values  ('hr_zz1','测试集','1','1','HM')"_s;
    QTest::newRow("set Modify: business object of type 5")
        << busObject
        << u"update AA_BusObject  set cBusObName='新名',  iAuthType=0,   bAuthControl=0  "
           "where cBusObId='hr_zz1'"_s
        << u"select cBusObName, iAuthType, bAuthControl from AA_BusObject where cBusObId='hr_zz1'"_s
        << u"cBusObName|iAuthType|bAuthControl;新名|0|0"_s;
    QTest::newRow("set Modify: business object of other types")
        << busObject
        << u"update AA_BusObject  set cBusObName='新名',  iAuthType= 0,   bAuthControl=0 "
           "where cBusObId='hr_zz1'"_s
        << u"select iAuthType, bAuthControl from AA_BusObject where cBusObId='hr_zz1'"_s
        << u"iAuthType|bAuthControl;0|0"_s;
    const QString member = u"insert hr_sys_CategoriesMember( cid,ctablecode,itablegroup) "
                           "values('BZ001', 'hr_zz1' ,'9')"_s;
    QTest::newRow("set ModifyDelFlag: flag")
        << addSet(u"hr_zz1"_s, u"测试集"_s, 1, 9)
        << u"update hr_sys_setdict  set bdelFlag= 1 where ctablecode='Hr_Zz1'"_s
        << u"select bdelFlag from hr_sys_setdict where cTableCode='hr_zz1'"_s << u"bdelFlag;1"_s;
    QTest::newRow("set ModifyDelFlag / Delete: memberships")
        << member << u"delete from hr_sys_CategoriesMember where ctablecode='HR_ZZ1'"_s
        << u"select count(*) as n from hr_sys_CategoriesMember where ctablecode='hr_zz1'"_s
        << u"n;0"_s;
    QTest::newRow("set Delete: dictionary row")
        << addSet(u"hr_zz1"_s, u"测试集"_s, 1, 9)
        << u"delete from hr_sys_setdict where ctablecode='HR_ZZ1'"_s
        << u"select count(*) as n from hr_sys_setdict where cTableCode='hr_zz1'"_s << u"n;0"_s;
    QTest::newRow("set Delete: report catalogue")
        << u"insert Rpt_GRPDEF  (Systemid,Tablename,Tabledefine,Tabletype,SystemName)  values  "
           "('HM','hr_zz1','测试集','9','人事信息管理')"_s
        << u"delete from Rpt_GRPDEF where Tablename='HR_ZZ1' and systemid='hm'"_s
        << u"select count(*) as n from Rpt_GRPDEF where Tablename='hr_zz1'"_s << u"n;0"_s;
    QTest::newRow("set Delete: business object")
        << busObject << u"delete from AA_BusObject where cBusObId='HR_ZZ1' and cSub_Id='HM'"_s
        << u"select count(*) as n from AA_BusObject where cBusObId='hr_zz1'"_s << u"n;0"_s;

    const QString item = u"insert hr_sys_itemdict  (cTableCode,citemCode,vitemName,vdescription,"
                         "iitemType,vReferenceObj,bLastLevelFlag,iitemLen,iitemDec,bsysFlag,"
                         "brecordFlag,bnullFlag,vDefault,vFormat,bdelFlag,ishowOrder,iBusinessFlag,"
                         "bdefault,bDisplay,vMemo)  values  ('hr_zz1','cItem','项目','','4','',"
                         "'','10','2','1','0','0','','','0','3','4','0','1','')"_s;
    QTest::newRow("item Add: dictionary row")
        << QString() << item
        << u"select citemCode, iitemLen, iitemDec, ishowOrder from hr_sys_itemdict "
           "where cTableCode='hr_zz1'"_s
        << u"cItemCode|iItemLen|iItemDec|ishowOrder;cItem|10|2|3"_s;
    QTest::newRow("item Add: report column")
        << QString()
        << u"insert Rpt_ItmDEF  (FieldName,TableName,TableDef,FieldDef,FieldType,FieldID)  values  "
           "('cItem','hr_zz1','测试集','项目','numeric',3)"_s
        << u"select FieldType, FieldID from Rpt_ItmDEF where TableName='hr_zz1'"_s
        << u"FieldType|FieldID;numeric|3"_s;
    QTest::newRow("item Add: column authorisation of a default item")
        << QString()
        << u"insert AA_Columndic  (cKey,cFld,cCaption,iColPos,bMustSel)  values  "
           "('hr_zz1','cItem','项目','',1 )"_s
        << u"select cCaption, bMustSel from AA_Columndic where cKey='hr_zz1'"_s
        << u"cCaption|bMustSel;项目|1"_s;
    QTest::newRow("item Add: column authorisation")
        << QString()
        << u"insert AA_Columndic  (cKey,cFld,cCaption,iColPos,bMustSel)  values  "
           "('hr_zz1','cItem','项目','',0 )"_s
        << u"select bMustSel from AA_Columndic where cKey='hr_zz1'"_s << u"bMustSel;0"_s;
    QTest::newRow("item Delete: all rows of a set")
        << item << u"delete from hr_sys_itemdict where ctablecode='HR_ZZ1'"_s
        << u"select count(*) as n from hr_sys_itemdict where cTableCode='hr_zz1'"_s << u"n;0"_s;
    QTest::newRow("item Delete: report columns, trailing blank")
        << u"insert Rpt_ItmDEF  (FieldName,TableName,TableDef,FieldDef,FieldType,FieldID)  values  "
           "('cItem','hr_zz1','测试集','项目','numeric',3)"_s
        << u"delete from Rpt_ItmDEF where TableName='HR_ZZ1' "_s
        << u"select count(*) as n from Rpt_ItmDEF where TableName='hr_zz1'"_s << u"n;0"_s;
    QTest::newRow("item Delete: column authorisations, trailing blank")
        << u"insert AA_Columndic  (cKey,cFld,cCaption,iColPos,bMustSel)  values  "
           "('hr_zz1','cItem','项目','',0 )"_s
        << u"delete from AA_ColumnDic where cKey='HR_ZZ1' "_s
        << u"select count(*) as n from AA_Columndic where cKey='hr_zz1'"_s << u"n;0"_s;
    QTest::newRow("item DeleteItem: dictionary row")
        << item << u"delete from hr_sys_itemdict where ctablecode='hr_zz1' and citemCode='CITEM'"_s
        << u"select count(*) as n from hr_sys_itemdict where cTableCode='hr_zz1'"_s << u"n;0"_s;
    QTest::newRow("item DeleteItem: report column")
        << u"insert Rpt_ItmDEF  (FieldName,TableName,TableDef,FieldDef,FieldType,FieldID)  values  "
           "('cItem','hr_zz1','测试集','项目','numeric',3)"_s
        << u"delete from Rpt_ItmDEF where TableName='hr_zz1' and FieldName='citem'"_s
        << u"select count(*) as n from Rpt_ItmDEF where TableName='hr_zz1'"_s << u"n;0"_s;
    QTest::newRow("item DeleteItem: column authorisation")
        << u"insert AA_Columndic  (cKey,cFld,cCaption,iColPos,bMustSel)  values  "
           "('hr_zz1','cItem','项目','',0 )"_s
        << u"delete from AA_Columndic where ckey='hr_zz1' and cfld='CITEM'"_s
        << u"select count(*) as n from AA_Columndic where cKey='hr_zz1'"_s << u"n;0"_s;
    QTest::newRow("item Modify: dictionary row")
        << item
        << u"update hr_sys_itemdict  set vItemName='新项',  vdescription='d',  blastLevelflag='',  "
           "iitemLen='12',  vReferenceObj='',  iitemDec='3',  brecordflag='1',  bnullflag='1',  "
           "bsysflag='1',  vdefault='',  vFormat='',  ishowOrder='5',  bDisplay='1',  vmemo=''  "
           "where ctablecode='HR_ZZ1' and citemcode='CITEM'"_s
        << u"select vItemName, iitemLen, iitemDec, brecordflag from hr_sys_itemdict "
           "where cTableCode='hr_zz1'"_s
        << u"vItemName|iItemLen|iItemDec|brecordFlag;新项|12|3|1"_s;
    QTest::newRow("item Modify: report column")
        << u"insert Rpt_ItmDEF  (FieldName,TableName,TableDef,FieldDef,FieldType,FieldID)  values  "
           "('cItem','hr_zz1','测试集','项目','numeric',3)"_s
        << u"update Rpt_ItmDEF  set FieldDef='新项',   FieldType='varchar' where FieldName='CITEM' "
           "and TableName='HR_ZZ1'"_s
        << u"select FieldDef, FieldType from Rpt_ItmDEF where TableName='hr_zz1'"_s
        << u"FieldDef|FieldType;新项|varchar"_s;
    QTest::newRow("item Modify: column authorisation")
        << u"insert AA_Columndic  (cKey,cFld,cCaption,iColPos,bMustSel)  values  "
           "('hr_zz1','cItem','项目','',0 )"_s
        << u"update AA_Columndic  set cCaption='新项',bMustSel=1 where ckey='HR_ZZ1' and "
           "cfld='citem'"_s
        << u"select cCaption, bMustSel from AA_Columndic where cKey='hr_zz1'"_s
        << u"cCaption|bMustSel;新项|1"_s;
    QTest::newRow("item ModifyDelFlag")
        << item
        << u"update hr_sys_itemdict  set bdelFlag= 1 where ctablecode='hr_zz1' and citemCode='cItem'"_s
        << u"select bdelFlag from hr_sys_itemdict where cTableCode='hr_zz1'"_s << u"bdelFlag;1"_s;

    const QString set9 = createSet(u"hr_zz9"_s, QString());
    QTest::newRow("column add statement")
        << set9
        << u"ALTER TABLE hr_zz9 ADD cName varchar(20)  null ,nPay numeric(10,2)  null ,"
           "dBirth datetime  null ,iAge int  null "_s
        << columnsOf(u"hr_zz9"_s)
        << u"c;PK_hr_zz9 ZQUID 1 1;cName varchar(20) 0 0;nPay numeric(10,2) 0 0;"
           "dBirth datetime 0 0;iAge INT 0 0"_s;
    QTest::newRow("column alter statement, text")
        << set9 + u"\nALTER TABLE hr_zz9 ADD cName varchar(20)  null "_s
        << u"ALTER TABLE hr_zz9 ALTER COLUMN cName varchar(40)"_s
        << u"select type from pragma_table_info('hr_zz9') where name = 'cName'"_s
        << u"type;varchar(40)"_s;
    QTest::newRow("column alter statement, numeric")
        << set9 + u"\nALTER TABLE hr_zz9 ADD nPay numeric(10,2)  null "_s
        << u"ALTER TABLE hr_zz9 ALTER COLUMN nPay numeric(12,4)"_s
        << u"select type from pragma_table_info('hr_zz9') where name = 'nPay'"_s
        << u"type;numeric(12,4)"_s;
    QTest::newRow("column drop statement")
        << set9 + u"\nALTER TABLE hr_zz9 ADD cName varchar(20)  null ,iAge int  null "_s
        << u"ALTER TABLE hr_zz9 DROP COLUMN cName"_s << columnsOf(u"hr_zz9"_s)
        << u"c;PK_hr_zz9 ZQUID 1 1;iAge INT 0 0"_s;
    QTest::newRow("data check of a column")
        << set9
               + u"\nALTER TABLE hr_zz9 ADD cName varchar(20)  null \n"
                 "insert hr_zz9 (PK_hr_zz9, cName) values (newid(), 'x')"_s
        << u"select  cName  from hr_zz9"_s << QString() << u"cName;x"_s;
    QTest::newRow("data check of a set")
        << set9 + u"\ninsert hr_zz9 (PK_hr_zz9) values (newid())"_s
        << u"select count(*) from hr_zz9"_s << QString() << u"count(*);1"_s;

    const QString codes = codeTableWithCodes();
    QTest::newRow("code Add")
        << createCodeTable(u"HR_CT901"_s) << addCode(u"HR_CT901"_s, u"0101"_s, u"乙"_s, 1, u"01"_s)
        << u"select ccodeID, ilevels, typeof(ilevels), cpCodeID, bhideFlag from HR_CT901"_s
        << u"ccodeID|ilevels|typeof(ilevels)|cpCodeID|bhideFlag;0101|1|integer|01|0"_s;
    QTest::newRow("code Modify: the code")
        << codes
        << u"update HR_CT901 set vDescription='改',  vsimpleName='改',  vsimpleSpell='G',  "
           "bsysFlag='1',  bChildFlag='1',  bhideFlag='1',  vmemo='m'  where ccodeId='0102'"_s
        << u"select ccodeID, vdescription, bhideFlag from HR_CT901 where vsimpleSpell = 'G'"_s
        << u"ccodeID|vdescription|bhideFlag;0102|改|1"_s;
    QTest::newRow("code Modify: hide flag spread")
        << codes << u"update HR_CT901 set  bhideFlag='1' where ccodeId like '01%'"_s
        << u"select group_concat(ccodeID) as hidden from (select ccodeID from HR_CT901 "
           "where bhideFlag = '1' order by ccodeID)"_s
        << u"hidden;01,0101,0102,010201"_s;
    QTest::newRow("code Delete: subtree, no blank before the pattern")
        << codes << u"delete from HR_CT901  where ccodeId like'0102%'"_s
        << u"select group_concat(ccodeID) as kept from (select ccodeID from HR_CT901 "
           "order by ccodeID)"_s
        << u"kept;01,0101,02"_s;
    QTest::newRow("code table: register template column")
        << createCodeTable(u"HR_CT901"_s)
        << u"insert hr_sys_itemdict (  ctablecode ,cItemCode,vItemName,iItemType,iItemLen,bsysFlag "
           ") values ('HR_CT901','ccodeID','编码','1','30','0')"_s
        << u"select cItemCode, iItemType, iItemLen from hr_sys_itemdict "
           "where cTableCode='HR_CT901'"_s
        << u"cItemCode|iItemType|iItemLen;ccodeID|1|30"_s;
    QTest::newRow("code table: template query")
        << u"delete from hr_bd_fld where ctable = 'HR_CT'\n"
           "insert hr_bd_fld (cTable, cItemCode, vItemName) values ('HR_CT', 'ccodeID', '编码')"_s
        << u"select cItemCode, vItemName from hr_bd_fld where ctable='hr_ct'"_s << QString()
        << u"cItemCode|vItemName;ccodeID|编码"_s;
    QTest::newRow("archive: hide every code")
        << codes << u"update HR_CT901 set bhideFlag=1"_s
        << u"select count(*) as n from HR_CT901 where bhideFlag = '1'"_s << u"n;5"_s;
    QTest::newRow("archive: system flag of every code")
        << codes << u"update HR_CT901 set bsysflag=0"_s
        << u"select count(*) as n from HR_CT901 where bsysFlag = '0'"_s << u"n;5"_s;
    QTest::newRow("archive: parent gets children")
        << codes << u"update HR_CT901 set bChildFlag=1 where ccodeID='01'"_s
        << u"select ccodeID from HR_CT901 where bChildFlag = '1'"_s << u"ccodeID;01"_s;
    QTest::newRow("archive: top-level codes")
        << codes << u"select * from HR_CT901 where ilevels=0"_s << QString()
        << u"ccodeID|vdescription|vsimpleName|vsimpleSpell|ilevels|cpCodeID|bsysFlag|bChildFlag|"
           "bhideFlag|vMemo;01|甲|甲||0||1|0|0|;02|戊|戊||0||1|0|0|"_s;
    QTest::newRow("archive: children of a code by precedence")
        << codes
        << u"select ccodeID from HR_CT901  where cpCodeID =  '0102' or cCodeID=  '0102'  and "
           "ilevels <> 1"_s
        << QString() << u"ccodeID;010201"_s;
    QTest::newRow("archive: the code itself")
        << codes
        << u"select ccodeID from HR_CT901  where cpCodeID =  '010201' or cCodeID=  '010201'"_s
        << QString() << u"ccodeID;010201"_s;
    QTest::newRow("archive: descendants below a level")
        << codes << u"select ccodeID from HR_CT901 where ccodeid like '01%' and ilevels > 1"_s
        << QString() << u"ccodeID;010201"_s;
    QTest::newRow("archive: system flag of a code")
        << codes << u"select bsysflag from HR_CT901  where ccodeID='0101'"_s << QString()
        << u"bsysFlag;1"_s;
    QTest::newRow("archive: deeper levels")
        << codes << u"select max(ilevels) from  HR_CT901"_s << QString() << u"max(ilevels);2"_s;
    QTest::newRow("archive: code in use")
        << set9
               + u"\nALTER TABLE hr_zz9 ADD cGender varchar(30)  null \n"
                 "insert hr_zz9 (PK_hr_zz9, cGender) values (newid(), '0102')"_s
        << u"select count(*) from hr_zz9 where  cGender ='0102'"_s << QString() << u"count(*);1"_s;
    QTest::newRow("archive: name uniqueness in a code table")
        << codes << u"select ccodeID from HR_CT901 where vdescription='丙'"_s << QString()
        << u"ccodeID;0102"_s;
    QTest::newRow("archive class: next number")
        << u"delete from hr_sys_setdict where itableclass = 3\n"_s
               + addSet(u"HR_CT000"_s, u"一"_s, 3, 9) + u"\n"_s
               + addSet(u"HR_CT007"_s, u"二"_s, 3, 9)
        << u"select max(CONVERT(char,substring(ctablecode,6,3),105))+1 as mm from hr_sys_setdict "
           "where itableclass =3"_s
        << QString() << u"mm;8"_s;
    QTest::newRow("archive class: first number")
        << u"delete from hr_sys_setdict where itableclass = 3"_s
        << u"select max(CONVERT(char,substring(ctablecode,6,3),105))+1 as mm from hr_sys_setdict "
           "where itableclass =3"_s
        << QString() << u"mm;NULL"_s;
    QTest::newRow("archive class: classes in order")
        << u"delete from hr_sys_setdict where itableclass = 3\n"_s
               + addSet(u"HR_CT007"_s, u"二"_s, 3, 9, 2) + u"\n"_s
               + addSet(u"HR_CT000"_s, u"一"_s, 3, 9, 1)
        << u"select cTableCode from hr_sys_setdict where iTableClass=3 ORDER BY ishowOrder"_s
        << QString() << u"cTableCode;HR_CT000;HR_CT007"_s;
    QTest::newRow("archive class: multi-level flag")
        << addSet(u"HR_CT902"_s, u"三"_s, 3, 9)
        << u"select bMultiLevel from hr_sys_setdict where cTableCode='hr_ct902'"_s << QString()
        << u"bMultiLevel;1"_s;
    QTest::newRow("archive class: references of a class")
        << u"insert hr_sys_itemdict (cTableCode, citemCode, vReferenceObj) "
           "values ('hr_zz1', 'cG', 'HR_CT901')"_s
        << u"select cTableCode, citemCode from hr_sys_ItemDict where vReferenceObj='hr_ct901'"_s
        << QString() << u"cTableCode|cItemCode;hr_zz1|cG"_s;

    QTest::newRow("voucher template check")
        << u"insert hr_bd_vouchertable (ctablecode, cVoucherCode) values ('hr_zz1', 'V1'), "
           "('hr_zz1', 'V2')"_s
        << u"select top 1 * from hr_bd_vouchertable where ctablecode='HR_ZZ1'"_s << QString()
        << u"ctablecode|cVoucherCode|vVoucherName;hr_zz1|V1|NULL"_s;
    QTest::newRow("voucher references of an item")
        << u"insert voucheritems (iID, TableName, FieldName) values (90001, 'hr_zz1', 'cItem')"_s
        << u"select count(*) from voucheritems where tablename='HR_ZZ1' and fieldname='CITEM'"_s
        << QString() << u"count(*);1"_s;
    QTest::newRow("authorisation references of an item")
        << u"insert AA_ColumnAuth (cKey, cFld, cADCode) values ('hr_zz1', 'cItem', 'A')"_s
        << u"select count(*) from AA_ColumnAuth where ckey='HR_ZZ1' and cfld='citem'"_s << QString()
        << u"count(*);1"_s;
    QTest::newRow("authorisation classes of a set")
        << u"insert aa_authclass (cBusObId, cADCode) values ('hr_zz1', 'A')"_s
        << u"select count(*) from aa_authclass where cbusobid='HR_ZZ1'"_s << QString()
        << u"count(*);1"_s;
    QTest::newRow("item creation: next display order")
        << item << u"select max(ishowOrder) as a from hr_sys_itemdict  where cTableCode ='HR_ZZ1'"_s
        << QString() << u"a;3"_s;
    QTest::newRow("item creation: code uniqueness")
        << item
        << u"select citemCode from Hr_sys_itemdict where citemCode='CITEM' and ctablecode='HR_ZZ1'"_s
        << QString() << u"cItemCode;cItem"_s;
    QTest::newRow("item creation: name uniqueness")
        << item
        << u"select citemCode from Hr_sys_itemdict where vitemName='项目' and ctablecode='hr_zz1'"_s
        << QString() << u"cItemCode;cItem"_s;
    QTest::newRow("item modification: load")
        << item
        << u"select citemCode from hr_sys_itemdict where ctablecode='Hr_zz1' and citemcode= 'citem'"_s
        << QString() << u"cItemCode;cItem"_s;
    QTest::newRow("set editor: name of a set")
        << addSet(u"hr_zz1"_s, u"测试集"_s, 1, 9)
        << u"select vTableName from hr_sys_setdict where ctablecode='HR_ZZ1'"_s << QString()
        << u"vTableName;测试集"_s;
    QTest::newRow("set editor: name uniqueness")
        << addSet(u"hr_zz1"_s, u"Test Set"_s, 1, 9)
        << u"select cTableCode from Hr_sys_setdict where vTableName='TEST SET'"_s << QString()
        << u"cTableCode;hr_zz1"_s;
    QTest::newRow("set editor: system flag")
        << addSet(u"hr_zz1"_s, u"测试集"_s, 1, 9)
        << u"select bsysflag from hr_sys_setdict where cTableCode='HR_zz1'"_s << QString()
        << u"bsysFlag;1"_s;
    QTest::newRow("sets of a group, group as text")
        << u"delete from hr_sys_setdict where iTableGroup = 8\n"_s
               + addSet(u"hr_zz2"_s, u"b"_s, 1, 8, 1) + u"\n"_s
               + addSet(u"hr_zz1"_s, u"a"_s, 1, 8, 2)
        << u"select cTableCode from hr_sys_setdict where itablegroup= '8' order by bsysflag, "
           "ishoworder"_s
        << QString() << u"cTableCode;hr_zz2;hr_zz1"_s;
    QTest::newRow("reference sets")
        << u"delete from hr_sys_setdict where itableclass in (2,3,6)\n"_s
               + addSet(u"HR_CT903"_s, u"c"_s, 3, 5) + u"\n"_s + addSet(u"HR_CT904"_s, u"d"_s, 3, 9)
        << u"select cTableCode from hr_sys_setdict where itableclass in (2,3,6) and bdisplay=1 and "
           "bdelflag<>1 and itablegroup<>5 order by itableclass,ishowOrder"_s
        << QString() << u"cTableCode;HR_CT904"_s;
    QTest::newRow("table classes")
        << u"delete from hr_bd_tableclass\ninsert hr_bd_tableclass (id, name) values (1, 'a')\n"
           "insert hr_bd_tableclass (id, name) values (5, 'b')\n"
           "insert hr_bd_tableclass (id, name) values (9, 'c')"_s
        << u"select id from hr_bd_tableclass where id<>9 "_s << QString() << u"id;1;5"_s;
    QTest::newRow("functions without attendance")
        << u"delete from hr_sys_Function\ninsert hr_sys_Function (FunctionID, FunctionName) "
           "values (1, 'a')\ninsert hr_sys_Function (FunctionID, FunctionName) values (128, 'b')"_s
        << u"select FunctionID from hr_sys_Function where FunctionID<>128"_s << QString()
        << u"FunctionID;1"_s;
    QTest::newRow("data types of the item dialog")
        << u"delete from hr_sys_datatype\ninsert hr_sys_datatype (id, vName) values (4, 'n')\n"
           "insert hr_sys_datatype (id, vName) values (13, 'g')"_s
        << u"select id from hr_sys_datatype where id in (1,2,3,4,5,6,9)"_s << QString()
        << u"id;4"_s;
    QTest::newRow("attendance first date")
        << u"delete from AccInformation where cSysId = 'TM'\n"
           "insert AccInformation (cSysID, cName, cValue) values ('TM', 'dTMFirstDate', "
           "'2024-01-01')"_s
        << u"select cValue from AccInformation where cSysId='tm' and cname='DTMFIRSTDATE'"_s
        << QString() << u"cValue;2024-01-01"_s;

    const QString category = u"delete from hr_sys_CategoriesMember where cid = 'BZ001'\n"_s
                             + addSet(u"hr_zz1"_s, u"测试集"_s, 1, 9) + u"\n"_s + member;
    QTest::newRow("category members with quoted aliases")
        << category
        << u"select t1.cid as '业务代码',t1.ctablecode as '信息集代码',t2.vtablename as "
           u"'信息集名称',"
           "t2.vdescription as '信息集描述',t2.vmemo as '备注' from hr_sys_CategoriesMember as t1 "
           "left join hr_sys_setdict as t2 on t1.ctablecode=t2.ctablecode  where t1.cid='bz001' "
           "and t2.bDisplay=1 and t2.bdelFlag=0 order by  t2.ishowOrder"_s
        << QString() << u"业务代码|信息集代码|信息集名称|信息集描述|备注;BZ001|hr_zz1|测试集||"_s;
    QTest::newRow("category membership: sets of a group")
        << u"delete from hr_sys_setdict where iTableGroup = 8\n"_s
               + addSet(u"hr_zz1"_s, u"a"_s, 1, 8)
        << u"select ctablecode from hr_sys_setdict where bDisplay=1 and itableclass=1 and "
           "bdelFlag=0 and itablegroup=8 order by ishoworder "_s
        << QString() << u"cTableCode;hr_zz1"_s;
    QTest::newRow("category membership: members")
        << category << u"select ctablecode from hr_sys_CategoriesMember where cid='bz001'"_s
        << QString() << u"ctablecode;hr_zz1"_s;
    QTest::newRow("category membership: replace a group")
        << category << u"delete from hr_sys_CategoriesMember where cid='bz001' and itablegroup=9"_s
        << u"select count(*) as n from hr_sys_CategoriesMember where cid = 'BZ001'"_s << u"n;0"_s;
    QTest::newRow("category membership: insert")
        << u"delete from hr_sys_CategoriesMember where cid = 'CJ002'"_s
        << u"insert hr_sys_CategoriesMember( cid,ctablecode,itablegroup) values('CJ002', 'hr_zz1' "
           ",'1')"_s
        << u"select cid, ctablecode, itablegroup, typeof(itablegroup) from hr_sys_CategoriesMember "
           "where cid = 'CJ002'"_s
        << u"cid|ctablecode|itablegroup|typeof(itablegroup);CJ002|hr_zz1|1|integer"_s;
    QTest::newRow("group Add")
        << u"delete from hr_sys_tgroup where itablegroup = 77"_s
        << u"insert hr_sys_tgroup  (itablegroup,vdescription,bsysFlag,vMemo)  values  "
           "('77','组','1','')"_s
        << u"select iTableGroup, vDescription from hr_sys_tgroup where iTableGroup = 77"_s
        << u"iTableGroup|vDescription;77|组"_s;
    QTest::newRow("group Modify")
        << u"delete from hr_sys_tgroup where itablegroup = 77\n"
           "insert hr_sys_tgroup  (itablegroup,vdescription,bsysFlag,vMemo)  values  "
           "('77','组','1','')"_s
        << u"update hr_sys_tgroup set  vdescription='新组',  bsysFlag='0',  vmemo='m'  "
           "where itablegroup='77'"_s
        << u"select vDescription, bsysflag from hr_sys_tgroup where iTableGroup = 77"_s
        << u"vDescription|bsysflag;新组|0"_s;
}

void TstTranslator::statementForms()
{
    QFETCH(QString, setup);
    QFETCH(QString, statement);
    QFETCH(QString, check);
    QFETCH(QString, expected);

    TestDatabase db;
    Connection &conn = db.conn();
    if (!setup.isEmpty())
        conn.Execute(setup);
    if (check.isEmpty()) {
        QCOMPARE(tsql(conn, statement), expected);
        return;
    }
    conn.Execute(statement);
    const QStringList parts = check.split(u"; "_s);
    for (int i = 0; i + 1 < parts.size(); ++i)
        conn.engine().ExecuteNative(parts[i]);
    QCOMPARE(native(conn, parts.last()), expected);
}

void TstTranslator::translation_data()
{
    QTest::addColumn<QString>("tsql");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("insert without into")
        << u"insert T (a) values (1)"_s << QStringList{u"insert into T (a) values (1)"_s};
    QTest::newRow("delete without from")
        << u"delete T where a = 1"_s << QStringList{u"delete from T where a = 1"_s};
    QTest::newRow("batch without separators")
        << u"update T set a=1 delete from T where b=2 insert T (a) select b from U"_s
        << QStringList{u"update T set a=1"_s,
                       u"delete from T where b=2"_s,
                       u"insert into T (a) select b from U"_s};
    QTest::newRow("batch with separators and GO")
        << u"update T set a=1;\nGO\nselect 1 union select 2;"_s
        << QStringList{u"update T set a=1"_s, u"select 1 union select 2"_s};
    QTest::newRow("top in a sub-query")
        << u"select a from (select top 2 b from U order by b) x"_s
        << QStringList{u"select a from (select b from U order by b LIMIT 2) x"_s};
    QTest::newRow("top before a comment")
        << u"select distinct top (3) a from T -- first"_s
        << QStringList{u"select distinct a from T LIMIT (3) -- first"_s};
    QTest::newRow("quoted, bracketed and commented tokens")
        << u"select 'top 1 isnull(x)', [top], \"like\" /* select top 1 */ from T -- len(x)"_s
        << QStringList{
               u"select 'top 1 isnull(x)', [top], \"like\" /* select top 1 */ from T -- len(x)"_s};
    QTest::newRow("functions")
        << u"select isnull(a, 0), substring(b, 2, 3), len(c) from T"_s
        << QStringList{u"select ifnull(a, 0), substr(b, 2, 3), length(rtrim(c)) from T"_s};
    QTest::newRow("N literal") << u"select N'中''文'"_s << QStringList{u"select '中''文'"_s};
    QTest::newRow("aliases in single quotes")
        << u"select a 'x', b as 'y', 'v' from T where c = 'w'"_s
        << QStringList{u"select a \"x\", b as \"y\", 'v' from T where c = 'w'"_s};
    QTest::newRow("key clause without comma, filegroup")
        << u"CREATE TABLE T ([a] [varchar] (10) COLLATE Chinese_PRC_CI_AS NULL Primary Key(a)) "
           "ON [PRIMARY]"_s
        << QStringList{u"CREATE TABLE T ([a] varchar(10) COLLATE NOCASE NULL, Primary Key(a))"_s};
    QTest::newRow("several columns added")
        << u"ALTER TABLE T ADD a char(2)  null ,b int  null "_s
        << QStringList{u"ALTER TABLE T ADD COLUMN a char(2) COLLATE NOCASE null"_s,
                       u"ALTER TABLE T ADD COLUMN b int null"_s};
    QTest::newRow("user-table guard")
        << u"if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[T]') and "
           "OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table [dbo].[T]"_s
        << QStringList{u"DROP TABLE IF EXISTS [T]"_s};
    QTest::newRow("unknown statement")
        << u"frobnicate the widgets"_s << QStringList{u"frobnicate the widgets"_s};
}

void TstTranslator::translation()
{
    QFETCH(QString, tsql);
    QFETCH(QStringList, expected);
    QStringList got;
    for (const SqliteStep &s : TsqlTranslator::translate(tsql)) {
        QCOMPARE(s.kind, SqliteStep::Native);
        got << s.sql;
    }
    QCOMPARE(got, expected);
}

void TstTranslator::quotedTokensReachTheEngineUnchanged()
{
    TestDatabase db(false);
    Connection &conn = db.conn();
    conn.Execute(u"create table T ([top] varchar(40), \"like\" varchar(40))"_s);
    conn.Execute(u"insert T ([top], \"like\") values ('select top 1 * from x', "
                 "N'isnull(a) + len(b) -- ''c''') -- top 1"_s);
    QCOMPARE(tsql(conn, u"select [top], \"like\" /* top 1 */ from T"_s),
             u"top|like;select top 1 * from x|isnull(a) + len(b) -- 'c'"_s);
}

void TstTranslator::convertKeepsItsMeaning_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");
    QTest::newRow("date 120") << u"CONVERT(varchar, d, 120)"_s << u"2024-03-05 13:45:10"_s;
    QTest::newRow("date 23") << u"CONVERT(char(10), d, 23)"_s << u"2024-03-05"_s;
    QTest::newRow("date 112") << u"CONVERT(varchar(8), d, 112)"_s << u"20240305"_s;
    QTest::newRow("month by length") << u"CONVERT(varchar(7), d, 120)"_s << u"2024-03"_s;
    QTest::newRow("date 105") << u"CONVERT(varchar, d, 105)"_s << u"05-03-2024"_s;
    QTest::newRow("text with a date style") << u"CONVERT(char,substring(c,6,3),105)"_s << u"007"_s;
    QTest::newRow("number to text") << u"CONVERT(varchar(10), n)"_s << u"12"_s;
    QTest::newRow("text to number") << u"CONVERT(int, substring(c,6,3)) + 1"_s << u"8"_s;
    QTest::newRow("decimals") << u"CONVERT(numeric(10,2), 2.345)"_s << u"2.35"_s;
    QTest::newRow("text to date") << u"CONVERT(datetime, '20240305', 112)"_s
                                  << u"2024-03-05 00:00:00"_s;
}

void TstTranslator::convertKeepsItsMeaning()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    TestDatabase db(false);
    Connection &conn = db.conn();
    conn.Execute(u"create table T (c varchar(10), d datetime, n int) "
                 "insert T (c, d, n) values ('HR_CT007', '2024-03-05 13:45:10', 12)"_s);
    QCOMPARE(tsql(conn, u"select "_s + expression + u" as v from T"_s), u"v;"_s + expected);
}

void TstTranslator::unknownStatementCarriesSqliteMessage_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("message");
    QTest::newRow("syntax") << u"frobnicate the widgets"_s
                            << u"near \"frobnicate\": syntax error"_s;
    QTest::newRow("missing table")
        << u"select * from no_such_table"_s << u"no such table: no_such_table"_s;
    QTest::newRow("unknown function")
        << u"select datediff(1, 2)"_s << u"no such function: datediff"_s;
    QTest::newRow("stored procedure") << u"exec sp_who"_s << u"near \"exec\": syntax error"_s;
}

void TstTranslator::unknownStatementCarriesSqliteMessage()
{
    QFETCH(QString, statement);
    QFETCH(QString, message);
    TestDatabase db(false);
    try {
        db.conn().Execute(statement);
        QFAIL("the statement ran");
    } catch (const DbError &e) {
        QCOMPARE(e.message(), message);
    }
    QVERIFY_THROWS_EXCEPTION(DbError, db.conn().Execute(u"  -- nothing\n"_s));
}

void TstTranslator::rollbackUndoesDdl()
{
    TestDatabase db(false);
    Connection &conn = db.conn();
    conn.Execute(createSet(u"hr_keep"_s, QString()));
    conn.BeginTrans();
    conn.Execute(createSet(u"hr_new"_s, u"cPsn_Num    VARCHAR(10)"_s));
    conn.Execute(u"ALTER TABLE hr_keep ADD cA varchar(10)  null ,cB int  null "_s);
    conn.Execute(dropPart(u"hr_keep"_s));
    QVERIFY(!db.tableExists(u"hr_keep"_s));
    conn.RollbackTrans();
    QVERIFY(!db.tableExists(u"hr_new"_s));
    QVERIFY(db.tableExists(u"hr_keep"_s));
    QCOMPARE(db.columns(u"hr_keep"_s), QStringList{u"pk_hr_keep"_s});
}

void TstTranslator::codesMatchWithoutCase()
{
    TestDatabase db(false);
    Connection &conn = db.conn();
    conn.Execute(codeTableWithCodes());
    conn.Execute(createSet(u"hr_p"_s, u"cPsn_Num    VARCHAR(10)"_s));
    conn.Execute(u"ALTER TABLE hr_p ADD cName nvarchar(20)  null "_s);
    conn.Execute(u"insert hr_p (PK_hr_p, cPsn_Num, cName) values (newid(), 'AB01', N'Zhang')"_s);
    conn.Execute(addCode(u"HR_CT901"_s, u"A1"_s, u"Alpha"_s, 0, {}));

    QCOMPARE(tsql(conn, u"select cName from hr_p where cPsn_Num = 'ab01'"_s), u"cName;Zhang"_s);
    QCOMPARE(tsql(conn, u"select cPsn_Num from hr_p where cName = 'ZHANG'"_s), u"cPsn_Num;AB01"_s);
    QCOMPARE(tsql(conn, u"select cPsn_Num from hr_p where cName like 'zh%'"_s), u"cPsn_Num;AB01"_s);
    QCOMPARE(tsql(conn, u"select ccodeID from HR_CT901 where vdescription = 'ALPHA'"_s),
             u"ccodeID;A1"_s);
    QCOMPARE(tsql(conn, u"select ccodeID from HR_CT901 where ccodeID in ('a1')"_s),
             u"ccodeID;A1"_s);
    // the key is case-insensitive too: a code differing only in case is a duplicate
    QVERIFY_THROWS_EXCEPTION(DbError, conn.Execute(addCode(u"HR_CT901"_s, u"a1"_s, u"x"_s, 0, {})));
    // the guid key compares without case as the server's unique identifiers do
    const QString guid = tsql(conn, u"select PK_hr_p from hr_p"_s).section(u';', 1);
    QCOMPARE(tsql(conn, u"select cName from hr_p where PK_hr_p = '"_s + guid.toLower() + u"'"_s),
             u"cName;Zhang"_s);
}

void TstTranslator::prefixLikeUsesIndex()
{
    TestDatabase db(false);
    Connection &conn = db.conn();
    conn.Execute(codeTableWithCodes());
    QCOMPARE(tsql(conn, u"select count(*) as n from HR_CT901 where ccodeId like '01%'"_s),
             u"n;4"_s);
    const QString plan = native(conn,
                                u"EXPLAIN QUERY PLAN select * from HR_CT901 "
                                "where ccodeId like '01%'"_s);
    QVERIFY2(plan.contains(u"SEARCH"_s) && plan.contains(u"INDEX"_s), qPrintable(plan));
}

void TstTranslator::demoDictionaryMatchesWithoutCase()
{
    TestDatabase db;
    Connection &conn = db.conn();
    const QString code = db.scalar(u"select cTableCode from hr_sys_setdict where cTableCode "
                                   "GLOB '*[a-z]*' limit 1"_s)
                             .toString();
    QVERIFY(!code.isEmpty());
    const QString swapped = code.toUpper() == code ? code.toLower() : code.toUpper();
    QCOMPARE(tsql(conn,
                  u"select cTableCode from hr_sys_setdict where ctablecode='"_s + swapped + u"'"_s),
             u"cTableCode;"_s + code);
    QCOMPARE(
        tsql(conn,
             u"select count(*) as n from hr_sys_itemdict where ctablecode='"_s + swapped + u"'"_s),
        tsql(conn,
             u"select count(*) as n from hr_sys_itemdict where ctablecode='"_s + code + u"'"_s));
}

void TstTranslator::newidDefaultsGiveGuids()
{
    TestDatabase db(false);
    Connection &conn = db.conn();
    conn.Execute(u"create table T (id ZQUID not null default newid(), d datetime default "
                 "(getdate()), n int)"_s);
    conn.Execute(u"insert T (n) values (1) insert T (n) values (2)"_s);
    auto rs = conn.OpenRecordset(u"select id, d from T"_s);
    static const QRegularExpression guid(
        u"^[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}$"_s);
    QStringList ids;
    for (; !rs->Eof(); rs->MoveNext()) {
        ids << rs->FieldValue(0).toString();
        QVERIFY2(guid.match(ids.last()).hasMatch(), qPrintable(ids.last()));
        QVERIFY(!rs->FieldIsNull(1));
    }
    QCOMPARE(ids.size(), 2);
    QVERIFY(ids[0] != ids[1]);
}

void TstTranslator::executeCountsChangedRows()
{
    TestDatabase db(false);
    Connection &conn = db.conn();
    conn.Execute(codeTableWithCodes());
    QCOMPARE(conn.Execute(u"update HR_CT901 set bhideFlag='1' where ccodeId like '01%'"_s), 4);
    QCOMPARE(conn.Execute(u"delete from HR_CT901  where ccodeId like'02%'"_s), 1);
}

namespace {

// Declared type of a column as the record set reports it.
int typeCode(Connection &conn, const QString &table, const QString &column)
{
    auto rs = conn.OpenRecordset(u"select "_s + column + u" from "_s + table);
    return rs->FieldType(0);
}

QString declared(Connection &conn, const QString &table, const QString &column)
{
    return native(conn,
                  u"select type from pragma_table_info('"_s + table + u"') where name = '"_s
                      + column + u"'"_s)
        .section(u';', 1);
}

QString rootPage(Connection &conn, const QString &table)
{
    return native(conn, u"select rootpage from sqlite_schema where name = '"_s + table + u"'"_s);
}

void makeAlterTable(Connection &conn)
{
    conn.Execute(createSet(u"hr_alt"_s, u"cPsn_Num    VARCHAR(10)"_s));
    conn.Execute(u"ALTER TABLE hr_alt ADD cName varchar(10)  null ,nPay numeric(10,2)  null ,"
                 "cKind nvarchar(4)  null ,iAge int  null ,cCode char(4)  null "_s);
    conn.Execute(u"create index IX_hr_alt_age on hr_alt (iAge)"_s);
    conn.Execute(u"insert hr_alt (PK_hr_alt, cPsn_Num, cName, nPay, cKind, iAge, cCode) values "
                 "(newid(), 'P1', 'abc', 12.5, 'k', 40, '0012')"_s);
    conn.Execute(u"insert hr_alt (PK_hr_alt, cPsn_Num, cName, nPay, cKind, iAge, cCode) values "
                 "(newid(), 'P2', NULL, NULL, NULL, NULL, '7')"_s);
}

} // namespace

void TstTranslator::alterColumnInPlace_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("newType");
    QTest::addColumn<int>("oldCode");
    QTest::addColumn<int>("newCode");
    QTest::addColumn<bool>("inTransaction");

    QTest::newRow("longer text") << u"cName"_s << u"varchar(30)"_s << 200 << 200 << true;
    QTest::newRow("longer text, no transaction")
        << u"cName"_s << u"varchar(30)"_s << 200 << 200 << false;
    QTest::newRow("precision and decimals")
        << u"nPay"_s << u"numeric(12,4)"_s << 131 << 131 << true;
    QTest::newRow("nvarchar to varchar") << u"cKind"_s << u"varchar(8)"_s << 202 << 200 << true;
    QTest::newRow("key column longer") << u"cPsn_Num"_s << u"VARCHAR(20)"_s << 200 << 200 << false;
}

// A change within one storage class touches only the declaration: the table keeps its pages,
// its rows, its collation, its NOT NULL and its default.
void TstTranslator::alterColumnInPlace()
{
    QFETCH(QString, column);
    QFETCH(QString, newType);
    QFETCH(int, oldCode);
    QFETCH(int, newCode);
    QFETCH(bool, inTransaction);

    TestDatabase db(false);
    Connection &conn = db.conn();
    makeAlterTable(conn);
    const QString before = native(conn, u"select * from hr_alt order by cPsn_Num"_s);
    const QString pages = rootPage(conn, u"hr_alt"_s);
    QCOMPARE(typeCode(conn, u"hr_alt"_s, column), oldCode);

    const QString alter = u"ALTER TABLE hr_alt ALTER COLUMN "_s + column + u' ' + newType;
    if (inTransaction)
        conn.BeginTrans();
    conn.Execute(alter);
    QCOMPARE(declared(conn, u"hr_alt"_s, column), newType);
    QCOMPARE(typeCode(conn, u"hr_alt"_s, column), newCode);
    QCOMPARE(rootPage(conn, u"hr_alt"_s), pages);
    QCOMPARE(native(conn, u"select * from hr_alt order by cPsn_Num"_s), before);
    if (inTransaction)
        conn.CommitTrans();

    // collation, NOT NULL and the default of the table survive
    QCOMPARE(
        tsql(conn, u"select count(*) as n from hr_alt where cPsn_Num = 'p1' and cName = 'ABC'"_s),
        u"n;1"_s);
    QVERIFY_THROWS_EXCEPTION(DbError,
                             conn.Execute(u"insert hr_alt (PK_hr_alt) values (newid())"_s));
    conn.Execute(u"insert hr_alt (PK_hr_alt, cPsn_Num) values (newid(), 'P3')"_s);
    QCOMPARE(tsql(conn, u"select blastflag from hr_alt where cPsn_Num = 'P3'"_s), u"blastflag;1"_s);
    QCOMPARE(native(conn, u"PRAGMA integrity_check"_s), u"integrity_check;ok"_s);

    // and a rolled-back change leaves the old declaration, on a connection that still works
    conn.BeginTrans();
    conn.Execute(u"ALTER TABLE hr_alt ALTER COLUMN "_s + column
                 + (newType.startsWith(u"numeric"_s) ? u" numeric(14,6)"_s : u" varchar(99)"_s));
    conn.RollbackTrans();
    QCOMPARE(declared(conn, u"hr_alt"_s, column), newType);
    QCOMPARE(typeCode(conn, u"hr_alt"_s, column), newCode);
    conn.Execute(u"update hr_alt set cName = 'x' where cPsn_Num = 'P1'"_s);
    QCOMPARE(tsql(conn, u"select cName from hr_alt where cPsn_Num = 'P1'"_s), u"cName;x"_s);
}

void TstTranslator::alterColumnRebuild_data()
{
    QTest::addColumn<QString>("alter");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("newCode");
    QTest::addColumn<QString>("values");

    QTest::newRow("int to varchar") << u"ALTER TABLE hr_alt ALTER COLUMN iAge varchar(10)"_s
                                    << u"iAge"_s << 200 << u"v|t;40|text;NULL|null"_s;
    QTest::newRow("char to int") << u"ALTER TABLE hr_alt ALTER COLUMN cCode int"_s << u"cCode"_s
                                 << 3 << u"v|t;12|integer;7|integer"_s;
    QTest::newRow("null to not null") << u"ALTER TABLE hr_alt ALTER COLUMN cCode char(4) NOT NULL"_s
                                      << u"cCode"_s << 129 << u"v|t;0012|text;7|text"_s;
}

// Another storage class rebuilds the table in the caller's transaction: rows converted,
// indexes back, and the declaration changed.
void TstTranslator::alterColumnRebuild()
{
    QFETCH(QString, alter);
    QFETCH(QString, column);
    QFETCH(int, newCode);
    QFETCH(QString, values);

    TestDatabase db(false);
    Connection &conn = db.conn();
    makeAlterTable(conn);
    conn.BeginTrans();
    conn.Execute(alter);
    conn.CommitTrans();
    QCOMPARE(typeCode(conn, u"hr_alt"_s, column), newCode);
    QCOMPARE(native(conn,
                    u"select "_s + column + u" as v, typeof("_s + column
                        + u") as t from hr_alt order by cPsn_Num"_s),
             values);
    QCOMPARE(native(conn,
                    u"select name from sqlite_schema where type = 'index' and sql is not null "
                    "and tbl_name = 'hr_alt'"_s),
             u"name;IX_hr_alt_age"_s);
    QCOMPARE(native(conn, u"select count(*) as n from hr_alt"_s), u"n;2"_s);
    QCOMPARE(tsql(conn, u"select count(*) as n from hr_alt where cPsn_Num = 'p2'"_s), u"n;1"_s);
    QCOMPARE(native(conn, u"PRAGMA integrity_check"_s), u"integrity_check;ok"_s);
    if (alter.contains(u"NOT NULL"_s))
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 conn.Execute(u"update hr_alt set "_s + column + u" = NULL"_s));
}

void TstTranslator::alterColumnRebuildRefusesBadValues()
{
    TestDatabase db(false);
    Connection &conn = db.conn();
    makeAlterTable(conn);
    conn.BeginTrans();
    try {
        conn.Execute(u"ALTER TABLE hr_alt ALTER COLUMN cName int"_s);
        QFAIL("text converted to a number");
    } catch (const DbError &e) {
        QVERIFY2(e.message().contains(u"'abc'"_s), qPrintable(e.message()));
    }
    // the failed change left nothing behind, and the transaction goes on
    QCOMPARE(declared(conn, u"hr_alt"_s, u"cName"_s), u"varchar(10)"_s);
    conn.Execute(u"update hr_alt set cName = 'def' where cPsn_Num = 'P1'"_s);
    conn.CommitTrans();
    QCOMPARE(tsql(conn, u"select cName from hr_alt where cPsn_Num = 'P1'"_s), u"cName;def"_s);
    QVERIFY_THROWS_EXCEPTION(
        DbError, conn.Execute(u"ALTER TABLE hr_alt ALTER COLUMN cName char(4) NOT NULL"_s));
    QCOMPARE(native(conn, u"select count(*) as n from sqlite_schema where name like '%rebuild%'"_s),
             u"n;0"_s);
}

void TstTranslator::alterColumnRebuildRollsBack()
{
    TestDatabase db(false);
    Connection &conn = db.conn();
    makeAlterTable(conn);
    const QString before = native(conn, u"select * from hr_alt order by cPsn_Num"_s);
    conn.BeginTrans();
    conn.Execute(u"ALTER TABLE hr_alt ALTER COLUMN iAge varchar(10)"_s);
    QCOMPARE(typeCode(conn, u"hr_alt"_s, u"iAge"_s), 200);
    conn.RollbackTrans();
    QCOMPARE(typeCode(conn, u"hr_alt"_s, u"iAge"_s), 3);
    QCOMPARE(native(conn, u"select * from hr_alt order by cPsn_Num"_s), before);
    QCOMPARE(native(conn, u"PRAGMA integrity_check"_s), u"integrity_check;ok"_s);
}

QTEST_GUILESS_MAIN(TstTranslator)
#include "tst_translator.moc"
