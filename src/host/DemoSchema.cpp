#include "DemoSeed.h"

namespace vorlane::host::seed {

using namespace Qt::StringLiterals;

void createSchema(SeedWriter &w)
{
    // Host tables: account meta data, operators, rights and task locks.
    w.createTable(u"Host_Meta"_s, u"cKey varchar(30) not null, cValue nvarchar(200)"_s, u"cKey"_s);
    w.createTable(u"Host_Operator"_s,
                  u"cOperatorCode varchar(20) not null, vOperatorName nvarchar(40) not null, "
                  "bSupervisor bit not null default 0, bDisabled bit not null default 0, "
                  "vMemo nvarchar(100)"_s,
                  u"cOperatorCode"_s);
    w.createTable(u"Host_Function"_s,
                  u"cFunctionCode varchar(20) not null, vFunctionName nvarchar(60) not null, "
                  "cSysId varchar(10), bExclusive bit not null default 1, vMemo nvarchar(100)"_s,
                  u"cFunctionCode"_s);
    w.createTable(u"Host_Right"_s,
                  u"cOperatorCode varchar(20) not null, cFunctionCode varchar(20) not null"_s,
                  u"cOperatorCode, cFunctionCode"_s);
    w.createTable(u"Host_TaskLock"_s,
                  u"cFunctionCode varchar(20) not null, cOperatorCode varchar(20) not null, "
                  "cSessionId varchar(40) not null, cHostName nvarchar(100), iPid int, "
                  "cProcessStart varchar(30), dStartTime datetime, dHeartbeat datetime"_s,
                  u"cFunctionCode"_s);
    w.createIndex(u"Host_TaskLock"_s, u"cSessionId"_s);

    // Dictionary tables.
    w.createTable(u"hr_sys_setdict"_s,
                  u"cTableCode varchar(50) not null, vTableName nvarchar(60), "
                  "vdescription nvarchar(100), iTableGroup int, iTableClass int, icodeLen int, "
                  "bMultiLevel bit, vCodeFormat varchar(50), iTableType int, icycleType int, "
                  "iBusinessFlag int, iFunctionScope int, bsysFlag bit, vParentTable varchar(50), "
                  "bChildFlag bit, bdelFlag bit, ishowOrder int, vdisplayItem varchar(50), "
                  "vMainKey varchar(50), bDisplay bit, vMemo nvarchar(100)"_s,
                  u"cTableCode"_s);
    w.createIndex(u"hr_sys_setdict"_s, u"iTableGroup, bsysFlag, ishowOrder"_s);
    w.createIndex(u"hr_sys_setdict"_s, u"iTableClass"_s);
    w.createIndex(u"hr_sys_setdict"_s, u"vTableName"_s);

    w.createTable(u"hr_sys_itemdict"_s,
                  u"cTableCode varchar(50) not null, cItemCode varchar(50) not null, "
                  "vItemName nvarchar(60), vdescription nvarchar(100), iItemType int, "
                  "vReferenceObj varchar(50), bLastLevelFlag bit, iItemLen int, iItemDec int, "
                  "bsysFlag bit, brecordFlag bit, bnullFlag bit, vDefault nvarchar(2000), "
                  "vFormat varchar(50), bdelFlag bit, bdisplay bit, ishowOrder int, "
                  "iBusinessFlag int, bdefault bit, vMemo nvarchar(100)"_s,
                  u"cTableCode, cItemCode"_s);
    w.createIndex(u"hr_sys_itemdict"_s, u"vReferenceObj"_s);
    w.createIndex(u"hr_sys_itemdict"_s, u"cTableCode, vItemName"_s);

    w.createTable(u"hr_sys_tgroup"_s,
                  u"iTableGroup int not null, vDescription nvarchar(60), bsysflag bit, "
                  "vmemo nvarchar(100)"_s,
                  u"iTableGroup"_s);
    w.createTable(u"hr_sys_datatype"_s,
                  u"id smallint not null, vName varchar(30), vFactType varchar(30), "
                  "vDescription nvarchar(60), vSimpleSpell varchar(10), vmemo nvarchar(100)"_s,
                  u"id"_s);
    w.createTable(u"hr_sys_dateformat"_s,
                  u"id smallint not null, vDateFormat varchar(30), vmemo nvarchar(100)"_s,
                  u"id"_s);
    w.createTable(u"hr_sys_Function"_s,
                  u"FunctionID int not null, FunctionName nvarchar(60), Memo nvarchar(100)"_s,
                  u"FunctionID"_s);
    w.createTable(u"hr_bd_tableclass"_s,
                  u"id int not null, name nvarchar(60), Memo nvarchar(100)"_s,
                  u"id"_s);
    // The columns after cTable carry the names of hr_sys_itemdict columns: a code table's
    // standard columns are copied from here column by column.
    w.createTable(u"hr_bd_fld"_s,
                  u"cTable varchar(20) not null, cItemCode varchar(50) not null, "
                  "vItemName nvarchar(60), vdescription nvarchar(100), iItemType int, "
                  "vReferenceObj varchar(50), bLastLevelFlag bit, iItemLen int, iItemDec int, "
                  "bsysFlag bit, brecordFlag bit, bnullFlag bit, vDefault nvarchar(2000), "
                  "vFormat varchar(50), bdelFlag bit, bdisplay bit, ishowOrder int, "
                  "iBusinessFlag int, bdefault bit, vMemo nvarchar(100)"_s,
                  u"cTable, cItemCode"_s);
    w.createTable(u"hr_bd_utable"_s,
                  u"cTableCode varchar(50) not null, sMemo nvarchar(100)"_s,
                  u"cTableCode"_s);
    w.createTable(u"hr_sys_Categories"_s,
                  u"cid varchar(10) not null, vname nvarchar(60), ishoworder int, "
                  "vmemo nvarchar(100)"_s,
                  u"cid"_s);
    w.createTable(u"hr_sys_CategoriesMember"_s,
                  u"cid varchar(10) not null, ctablecode varchar(50) not null, itablegroup int"_s,
                  u"cid, ctablecode"_s);
    w.createIndex(u"hr_sys_CategoriesMember"_s, u"ctablecode"_s);
    w.createTable(u"hr_bd_vouchertable"_s,
                  u"ctablecode varchar(50) not null, cVoucherCode varchar(30) not null, "
                  "vVoucherName nvarchar(60)"_s,
                  u"ctablecode, cVoucherCode"_s);

    // Catalogues of the host: reports, authorisation, vouchers, account information.
    w.createTable(u"Rpt_GRPDEF"_s,
                  u"Systemid varchar(10) not null, Tablename varchar(50) not null, "
                  "Tabledefine nvarchar(60), Tabletype varchar(10), SystemName nvarchar(60)"_s,
                  u"Systemid, Tablename"_s);
    w.createTable(u"Rpt_ItmDEF"_s,
                  u"FieldName varchar(50) not null, TableName varchar(50) not null, "
                  "TableDef nvarchar(60), FieldDef nvarchar(60), FieldType varchar(30), "
                  "FieldID int"_s,
                  u"TableName, FieldName"_s);
    w.createTable(u"AA_BusObject"_s,
                  u"cBusObId varchar(50) not null, cBusObName nvarchar(60), iAuthType int, "
                  "bAuthControl bit, cSub_ID varchar(10)"_s,
                  u"cBusObId"_s);
    w.createTable(u"AA_Columndic"_s,
                  u"cKey varchar(50) not null, cFld varchar(50) not null, cCaption nvarchar(60), "
                  "iColPos int, bMustSel bit"_s,
                  u"cKey, cFld"_s);
    w.createTable(u"AA_ColumnAuth"_s,
                  u"cKey varchar(50) not null, cFld varchar(50) not null, "
                  "cADCode varchar(20) not null, bRead bit, bWrite bit"_s,
                  u"cKey, cFld, cADCode"_s);
    w.createTable(u"aa_authclass"_s,
                  u"cBusObId varchar(50) not null, cADCode varchar(20) not null, "
                  "cAuthClass nvarchar(60)"_s,
                  u"cBusObId, cADCode"_s);
    w.createTable(u"voucheritems"_s,
                  u"iID int not null, CardNum varchar(30), TableName varchar(50), "
                  "FieldName varchar(50), CardItemName nvarchar(60)"_s,
                  u"iID"_s);
    w.createIndex(u"voucheritems"_s, u"TableName, FieldName"_s);
    w.createTable(u"AccInformation"_s,
                  u"cSysID varchar(10) not null, cName varchar(50) not null, "
                  "cCaption nvarchar(60), cValue nvarchar(200)"_s,
                  u"cSysID, cName"_s);
}

} // namespace vorlane::host::seed
