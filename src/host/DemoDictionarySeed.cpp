#include "DemoSeed.h"

#include "db/DbError.h"

namespace vorlane::host::seed {

using namespace Qt::StringLiterals;

const QList<DataType> &dataTypes()
{
    // Ids 1 and 2 take a length, 4 a length and decimals; the others have a fixed column type.
    static const QList<DataType> types{
        {1, u"char"_s, u"char"_s, u"定长字符型"_s, u"c"_s, u"定长文本，长度 1 至 200"_s},
        {2, u"varchar"_s, u"varchar"_s, u"变长字符型"_s, u"v"_s, u"变长文本，长度 1 至 200"_s},
        {3, u"int"_s, u"int"_s, u"整数型"_s, u"i"_s, u"整数，最多 9 位"_s},
        {4, u"numeric"_s, u"numeric"_s, u"数值型"_s, u"n"_s, u"定点小数，总长至多 15 位"_s},
        {5, u"date"_s, u"datetime"_s, u"日期型"_s, u"d"_s, u"日期，按日期格式显示"_s},
        {6, u"bit"_s, u"bit"_s, u"逻辑型"_s, u"b"_s, u"是否，取值 0 或 1"_s},
        {9,
         u"refer"_s,
         u"varchar(30)"_s,
         u"参照型"_s,
         u"r"_s,
         u"存放参照对象（档案类或参照表）的编码"_s},
        {13, u"ZQUID"_s, u"ZQUID"_s, u"唯一标识型"_s, u"u"_s, u"信息集主键，默认值 newid()"_s},
        {14, u"datetime"_s, u"datetime"_s, u"日期时间型"_s, u"t"_s, u"日期和时间"_s},
        {15, u"timestamp"_s, u"timestamp"_s, u"时间戳"_s, u"s"_s, u"行版本，由数据库维护"_s},
    };
    return types;
}

QString factTypeOf(int dataTypeId)
{
    for (const DataType &t : dataTypes()) {
        if (t.id == dataTypeId)
            return t.factType;
    }
    return {};
}

QString columnDefinition(const Item &item)
{
    const QString fact = factTypeOf(item.type);
    switch (item.type) {
    case 1:
    case 2:
        return u"%1 %2(%3)  null"_s.arg(item.code, fact).arg(item.len);
    case 4:
        return u"%1 %2(%3,%4)  null"_s.arg(item.code, fact.section(u'(', 0, 0))
            .arg(item.len)
            .arg(item.dec);
    default:
        return u"%1 %2  null"_s.arg(item.code, fact);
    }
}

namespace {

QList<Item> kindTemplate(const QString &keyColumn, const QString &keyName, int keyLen)
{
    // The columns CreateTable gives every person, department, duty and job table.
    return {
        {.code = keyColumn,
         .name = keyName,
         .type = 2,
         .len = keyLen,
         .required = 1,
         .notNull = 1,
         .display = 1,
         .showOrder = 2,
         .builtin = 1},
        {.code = u"iRecordID"_s,
         .name = u"记录序号"_s,
         .type = 3,
         .len = 9,
         .display = 0,
         .showOrder = 96,
         .builtin = 1},
        {.code = u"blastflag"_s,
         .name = u"最新记录标志"_s,
         .type = 6,
         .len = 1,
         .notNull = 1,
         .defaultValue = u"1"_s,
         .display = 0,
         .showOrder = 97,
         .builtin = 1},
        {.code = u"vstatus1"_s,
         .name = u"状态说明"_s,
         .type = 2,
         .len = 50,
         .display = 0,
         .showOrder = 98,
         .builtin = 1},
        {.code = u"nstatus2"_s,
         .name = u"状态值"_s,
         .type = 4,
         .len = 18,
         .dec = 0,
         .display = 0,
         .showOrder = 99,
         .builtin = 1},
    };
}

QList<Item> codeTableTemplate()
{
    return {
        {.code = u"ccodeID"_s,
         .name = u"档案编码"_s,
         .type = 2,
         .len = 30,
         .required = 1,
         .notNull = 1,
         .showOrder = 1,
         .builtin = 1},
        {.code = u"vdescription"_s,
         .name = u"档案名称"_s,
         .type = 2,
         .len = 60,
         .required = 1,
         .notNull = 1,
         .showOrder = 2,
         .builtin = 1},
        {.code = u"vsimpleName"_s,
         .name = u"档案简称"_s,
         .type = 2,
         .len = 60,
         .showOrder = 3,
         .builtin = 1},
        {.code = u"vsimpleSpell"_s,
         .name = u"档案简拼"_s,
         .type = 2,
         .len = 60,
         .showOrder = 4,
         .builtin = 1},
        {.code = u"ilevels"_s,
         .name = u"档案级别"_s,
         .type = 3,
         .len = 9,
         .showOrder = 5,
         .builtin = 1},
        {.code = u"cpCodeID"_s,
         .name = u"上级代码"_s,
         .type = 2,
         .len = 30,
         .showOrder = 6,
         .builtin = 1},
        {.code = u"bsysFlag"_s,
         .name = u"自定义"_s,
         .type = 1,
         .len = 1,
         .display = 0,
         .showOrder = 7,
         .builtin = 1},
        {.code = u"bChildFlag"_s,
         .name = u"是否有下级节点"_s,
         .type = 1,
         .len = 1,
         .display = 0,
         .showOrder = 8,
         .builtin = 1},
        {.code = u"bhideFlag"_s,
         .name = u"隐藏"_s,
         .type = 1,
         .len = 1,
         .display = 0,
         .showOrder = 9,
         .builtin = 1},
        {.code = u"vMemo"_s,
         .name = u"备注"_s,
         .type = 2,
         .len = 200,
         .showOrder = 10,
         .builtin = 1},
    };
}

} // namespace

QStringList templateNames()
{
    return {u"cPsn_Num"_s, u"cDepCode"_s, u"cDutycode"_s, u"cJobcode"_s, u"other"_s, u"HR_CT"_s};
}

QList<Item> templateItems(const QString &templateName)
{
    if (templateName == u"cPsn_Num")
        return kindTemplate(templateName, u"人员编码"_s, 10);
    if (templateName == u"cDepCode")
        return kindTemplate(templateName, u"部门编码"_s, 12);
    if (templateName == u"cDutycode")
        return kindTemplate(templateName, u"职务编码"_s, 20);
    if (templateName == u"cJobcode")
        return kindTemplate(templateName, u"岗位编码"_s, 20);
    if (templateName == u"HR_CT")
        return codeTableTemplate();
    // "other": a table of any other kind holds only its key column, which the set editor
    // registers itself; a template row here would describe a column the table does not have.
    return {};
}

namespace {

QVariantList itemValues(const QString &first, const Item &i)
{
    return {first, i.code,    i.name,      i.name,     i.type,    i.ref,          i.lastLevel,
            i.len, i.dec,     i.sysFlag,   i.required, i.notNull, i.defaultValue, i.format,
            0,     i.display, i.showOrder, 4,          i.builtin, i.memo};
}

const QStringList &itemColumns(const QString &first)
{
    static const QStringList rest{u"cItemCode"_s,
                                  u"vItemName"_s,
                                  u"vdescription"_s,
                                  u"iItemType"_s,
                                  u"vReferenceObj"_s,
                                  u"bLastLevelFlag"_s,
                                  u"iItemLen"_s,
                                  u"iItemDec"_s,
                                  u"bsysFlag"_s,
                                  u"brecordFlag"_s,
                                  u"bnullFlag"_s,
                                  u"vDefault"_s,
                                  u"vFormat"_s,
                                  u"bdelFlag"_s,
                                  u"bdisplay"_s,
                                  u"ishowOrder"_s,
                                  u"iBusinessFlag"_s,
                                  u"bdefault"_s,
                                  u"vMemo"_s};
    static const QStringList dict = QStringList{u"cTableCode"_s} + rest;
    static const QStringList fld = QStringList{u"cTable"_s} + rest;
    return first == u"cTable" ? fld : dict;
}

void seedTemplates(SeedWriter &w)
{
    SeedWriter::Batch fld(w, u"hr_bd_fld"_s, itemColumns(u"cTable"_s));
    for (const QString &name : templateNames()) {
        for (const Item &i : templateItems(name))
            fld.add(itemValues(name, i));
    }
}

} // namespace

void writeItems(SeedWriter &w,
                const QString &tableCode,
                const QString &tableName,
                const QList<Item> &items,
                bool withCatalogue)
{
    SeedWriter::Batch dict(w, u"hr_sys_itemdict"_s, itemColumns(u"cTableCode"_s));
    SeedWriter::Batch report(w,
                             u"Rpt_ItmDEF"_s,
                             {u"FieldName"_s,
                              u"TableName"_s,
                              u"TableDef"_s,
                              u"FieldDef"_s,
                              u"FieldType"_s,
                              u"FieldID"_s});
    SeedWriter::Batch auth(
        w, u"AA_Columndic"_s, {u"cKey"_s, u"cFld"_s, u"cCaption"_s, u"iColPos"_s, u"bMustSel"_s});
    for (const Item &i : items) {
        dict.add(itemValues(tableCode, i));
        if (withCatalogue && (i.builtin == 1 || i.display == 1)) {
            report.add({i.code, tableCode, tableName, i.name, factTypeOf(i.type), i.showOrder});
            auth.add({tableCode, i.code, i.name, QVariant(), i.builtin == 1 ? 1 : i.required});
        }
    }
}

void seedDictionary(SeedWriter &w)
{
    {
        SeedWriter::Batch b(w,
                            u"hr_sys_tgroup"_s,
                            {u"iTableGroup"_s, u"vDescription"_s, u"bsysflag"_s, u"vmemo"_s});
        b.add({1, u"人员类"_s, 0, u"以人员编码 cPsn_Num 为键的信息集"_s});
        b.add({2, u"部门类"_s, 0, u"以部门编码 cDepCode 为键的信息集"_s});
        b.add({3, u"职务类"_s, 0, u"以职务编码 cDutycode 为键的信息集"_s});
        b.add({4, u"岗位类"_s, 0, u"以岗位编码 cJobcode 为键的信息集"_s});
        b.add({5, u"考勤类"_s, 0, u"由考勤管理维护，不能在此增加"_s});
        b.add({9, u"其他类"_s, 0, u"只有主键的独立信息集"_s});
    }
    {
        SeedWriter::Batch b(w,
                            u"hr_sys_datatype"_s,
                            {u"id"_s,
                             u"vName"_s,
                             u"vFactType"_s,
                             u"vDescription"_s,
                             u"vSimpleSpell"_s,
                             u"vmemo"_s});
        for (const DataType &t : dataTypes())
            b.add({t.id, t.name, t.factType, t.description, t.simpleSpell, t.memo});
    }
    {
        SeedWriter::Batch b(w, u"hr_sys_dateformat"_s, {u"id"_s, u"vDateFormat"_s, u"vmemo"_s});
        b.add({1, u"YYYY-MM-DD HH:MM:SS"_s, u"日期时间"_s});
        b.add({2, u"YYYY-MM-DD"_s, u"年-月-日"_s});
        b.add({3, u"YYYY年MM月DD日"_s, u"中文年月日"_s});
        b.add({4, u"YYYY-MM"_s, u"年-月"_s});
        b.add({5, u"YYYY"_s, u"年"_s});
    }
    {
        SeedWriter::Batch b(w, u"hr_bd_tableclass"_s, {u"id"_s, u"name"_s, u"Memo"_s});
        b.add({1, u"业务信息集"_s, u"人事业务中维护的一般信息集"_s});
        b.add({2, u"基本信息表"_s, u"人员、部门、职务、岗位的主表，可被参照"_s});
        b.add({3, u"档案类"_s, u"代码表（HR_CT）"_s});
        b.add({5, u"过程表"_s, u"业务过程中间表，不受数据权限控制"_s});
        b.add({6, u"参照表"_s, u"供信息项参照的其他表"_s});
        b.add({9, u"其他表"_s, u"其他类独立信息集"_s});
    }
    {
        // Function ids are bit values: a set's function scope is the sum of those it serves.
        SeedWriter::Batch b(
            w, u"hr_sys_Function"_s, {u"FunctionID"_s, u"FunctionName"_s, u"Memo"_s});
        b.add({1, u"人员档案"_s, QVariant()});
        b.add({2, u"人事变动"_s, QVariant()});
        b.add({4, u"合同管理"_s, QVariant()});
        b.add({8, u"编制管理"_s, QVariant()});
        b.add({16, u"招聘管理"_s, QVariant()});
        b.add({32, u"培训管理"_s, QVariant()});
        b.add({64, u"保险福利"_s, QVariant()});
        b.add({128, u"考勤管理"_s, u"考勤管理启用后提供"_s});
    }
    seedTemplates(w);
    {
        SeedWriter::Batch b(w, u"hr_bd_utable"_s, {u"cTableCode"_s, u"sMemo"_s});
        b.add({u"Department"_s, u"部门档案由基础设置维护"_s});
        b.add({u"hr_tm_shift"_s, u"班次由考勤管理维护"_s});
    }
    {
        SeedWriter::Batch b(
            w, u"hr_sys_Categories"_s, {u"cid"_s, u"vname"_s, u"ishoworder"_s, u"vmemo"_s});
        b.add({u"BZ001"_s, u"编制管理"_s, 1, u"部门、职务、岗位的编制信息"_s});
        b.add({u"CJ002"_s, u"人员信息采集"_s, 2, u"入职登记时采集的人员信息"_s});
        b.add({u"DJ003"_s, u"职级评定"_s, 3, u"定级、晋级时使用的人员信息"_s});
        b.add({u"TP004"_s, u"人事调配"_s, 4, u"调动、任免时使用的人员信息"_s});
        b.add({u"LZ005"_s, u"离职管理"_s, 5, u"离职、退休时使用的人员信息"_s});
    }
    {
        SeedWriter::Batch b(
            w, u"hr_sys_CategoriesMember"_s, {u"cid"_s, u"ctablecode"_s, u"itablegroup"_s});
        b.add({u"BZ001"_s, u"hr_om_deptplan"_s, 2});
        b.add({u"BZ001"_s, u"hr_om_jobplan"_s, 4});
        b.add({u"CJ002"_s, u"hr_hi_education"_s, 1});
        b.add({u"CJ002"_s, u"hr_hi_family"_s, 1});
        b.add({u"CJ002"_s, u"hr_hi_resume"_s, 1});
        b.add({u"TP004"_s, u"hr_hi_postchange"_s, 1});
        b.add({u"LZ005"_s, u"hr_hi_contract"_s, 1});
    }
    {
        SeedWriter::Batch b(
            w, u"AccInformation"_s, {u"cSysID"_s, u"cName"_s, u"cCaption"_s, u"cValue"_s});
        b.add({u"AA"_s, u"cAcc_Id"_s, u"账套号"_s, u"001"_s});
        b.add({u"AA"_s, u"cUnitName"_s, u"单位名称"_s, u"星桥示范科技有限公司"_s});
        // Attendance not started: no first date yet.
        b.add({u"TM"_s, u"dTMFirstDate"_s, u"考勤管理启用日期"_s, QString()});
    }
    // Vouchers and authorisations of the host that refer to dictionary tables and items.
    {
        SeedWriter::Batch b(
            w, u"hr_bd_vouchertable"_s, {u"ctablecode"_s, u"cVoucherCode"_s, u"vVoucherName"_s});
        b.add({u"hr_hi_person"_s, u"HR01"_s, u"员工入职单"_s});
        b.add({u"hr_hi_contract"_s, u"HR02"_s, u"劳动合同签订单"_s});
    }
    {
        SeedWriter::Batch b(
            w,
            u"voucheritems"_s,
            {u"iID"_s, u"CardNum"_s, u"TableName"_s, u"FieldName"_s, u"CardItemName"_s});
        b.add({1, u"HR01"_s, u"hr_hi_person"_s, u"cPsn_Name"_s, u"姓名"_s});
        b.add({2, u"HR01"_s, u"hr_hi_person"_s, u"rSex"_s, u"性别"_s});
        b.add({3, u"HR01"_s, u"hr_hi_person"_s, u"vMobile"_s, u"手机号码"_s});
        b.add({4, u"HR02"_s, u"hr_hi_contract"_s, u"vContractNo"_s, u"合同编号"_s});
    }
    {
        SeedWriter::Batch b(
            w, u"AA_ColumnAuth"_s, {u"cKey"_s, u"cFld"_s, u"cADCode"_s, u"bRead"_s, u"bWrite"_s});
        b.add({u"hr_hi_person"_s, u"vEmail"_s, u"002"_s, 1, 0});
        b.add({u"hr_hi_person"_s, u"nSalaryBase"_s, u"001"_s, 1, 1});
    }
    {
        SeedWriter::Batch b(w, u"aa_authclass"_s, {u"cBusObId"_s, u"cADCode"_s, u"cAuthClass"_s});
        b.add({u"hr_hi_contract"_s, u"001"_s, u"合同数据权限"_s});
    }
}

} // namespace vorlane::host::seed
