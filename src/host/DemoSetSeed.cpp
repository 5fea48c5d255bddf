#include "DemoSeed.h"

#include <QHash>
#include <QUuid>

namespace vorlane::host::seed {

using namespace Qt::StringLiterals;

namespace {

struct InformationSet
{
    QString code;
    QString name;
    QString description;
    int group;
    int tableClass;
    int tableType;  // 1 one current record per key, 2 several
    QString parent; // main table of the group, upper case, for subsets
    int showOrder;
    int sysFlag; // 0 system, 1 user
    int scope;   // sum of hr_sys_Function ids
    QString displayItem;
    int childFlag;
    QList<Item> items;
};

struct KindOfGroup
{
    QString keyColumn; // empty: key-only table
    QString keyType;
};

// The key column each table group gives its tables, as the set service creates them.
KindOfGroup kindOf(int group)
{
    switch (group) {
    case 1:
        return {u"cPsn_Num"_s, u"varchar(10)"_s};
    case 2:
        return {u"cDepCode"_s, u"varchar(12)"_s};
    case 3:
        return {u"cDutycode"_s, u"varchar(20)"_s};
    case 4:
        return {u"cJobcode"_s, u"varchar(20)"_s};
    default:
        return {};
    }
}

QString templateOf(int group)
{
    const QString key = kindOf(group).keyColumn;
    return key.isEmpty() ? u"other"_s : key;
}

Item keyItem(const QString &tableCode)
{
    return {.code = u"PK_"_s + tableCode,
            .name = u"主键"_s,
            .type = 13,
            .defaultValue = u"newid()"_s,
            .display = 0,
            .showOrder = 1,
            .builtin = 1};
}

Item text(const QString &code, const QString &name, int len, int order, int sysFlag = 0)
{
    return {
        .code = code, .name = name, .type = 2, .len = len, .sysFlag = sysFlag, .showOrder = order};
}

Item ref(const QString &code,
         const QString &name,
         const QString &target,
         int order,
         int lastLevel = 1,
         int sysFlag = 0)
{
    return {.code = code,
            .name = name,
            .type = 9,
            .len = 30,
            .ref = target,
            .lastLevel = lastLevel,
            .sysFlag = sysFlag,
            .showOrder = order};
}

Item date(const QString &code, const QString &name, int order, int sysFlag = 0)
{
    return {.code = code,
            .name = name,
            .type = 5,
            .len = 10,
            .sysFlag = sysFlag,
            .format = u"YYYY-MM-DD"_s,
            .showOrder = order};
}

Item integer(const QString &code, const QString &name, int order, int sysFlag = 0)
{
    return {
        .code = code, .name = name, .type = 3, .len = 9, .sysFlag = sysFlag, .showOrder = order};
}

Item flag(
    const QString &code, const QString &name, int order, const QString &deflt, int sysFlag = 0)
{
    return {.code = code,
            .name = name,
            .type = 6,
            .len = 1,
            .sysFlag = sysFlag,
            .defaultValue = deflt,
            .showOrder = order};
}

Item number(const QString &code, const QString &name, int len, int dec, int order, int sysFlag = 0)
{
    return {.code = code,
            .name = name,
            .type = 4,
            .len = len,
            .dec = dec,
            .sysFlag = sysFlag,
            .showOrder = order};
}

Item required(Item item)
{
    item.required = 1;
    item.notNull = 1;
    return item;
}

QList<InformationSet> informationSets()
{
    const QString person = u"HR_HI_PERSON"_s;
    return {
        {u"hr_hi_person"_s,
         u"人员基本信息"_s,
         u"人员档案主表，每人一条当前记录"_s,
         1,
         2,
         1,
         {},
         1,
         0,
         119,
         u"cPsn_Name"_s,
         1,
         {required(text(u"cPsn_Name"_s, u"姓名"_s, 20, 3)),
          ref(u"rSex"_s, u"性别"_s, u"HR_CT001"_s, 4),
          date(u"dBirthDate"_s, u"出生日期"_s, 5),
          text(u"vIDNo"_s, u"身份证号码"_s, 18, 6),
          ref(u"rNation"_s, u"民族"_s, u"HR_CT002"_s, 7),
          ref(u"rNativePlace"_s, u"籍贯"_s, u"HR_CT006"_s, 8, 0),
          ref(u"rPolity"_s, u"政治面貌"_s, u"HR_CT004"_s, 9),
          ref(u"rMarriage"_s, u"婚姻状况"_s, u"HR_CT005"_s, 10),
          ref(u"rEduDegree"_s, u"最高学历"_s, u"HR_CT003"_s, 11),
          ref(u"rDept"_s, u"所在部门"_s, u"Department"_s, 12),
          ref(u"rDuty"_s, u"职务"_s, u"hr_om_duty"_s, 13),
          ref(u"rJob"_s, u"岗位"_s, u"hr_om_job"_s, 14),
          date(u"dEnterDate"_s, u"参加工作日期"_s, 15),
          date(u"dJoinDate"_s, u"进入本单位日期"_s, 16),
          text(u"vMobile"_s, u"手机号码"_s, 20, 17, 1),
          text(u"vEmail"_s, u"电子邮件"_s, 60, 18, 1),
          flag(u"bRetired"_s, u"是否退休"_s, 19, u"0"_s, 1),
          number(u"nSalaryBase"_s, u"基本工资"_s, 12, 2, 20, 1)}},
        {u"hr_hi_education"_s,
         u"教育经历"_s,
         u"学历学位及院校"_s,
         1,
         1,
         2,
         person,
         2,
         1,
         17,
         {},
         0,
         {date(u"dStartDate"_s, u"入学日期"_s, 3, 1),
          date(u"dEndDate"_s, u"毕业日期"_s, 4, 1),
          text(u"vSchool"_s, u"毕业院校"_s, 60, 5, 1),
          text(u"vMajor"_s, u"所学专业"_s, 40, 6, 1),
          ref(u"rEduDegree"_s, u"学历"_s, u"HR_CT003"_s, 7, 1, 1)}},
        {u"hr_hi_resume"_s,
         u"工作经历"_s,
         u"进入本单位前的工作经历"_s,
         1,
         1,
         2,
         person,
         3,
         1,
         17,
         {},
         0,
         {date(u"dStartDate"_s, u"起始日期"_s, 3, 1),
          date(u"dEndDate"_s, u"终止日期"_s, 4, 1),
          text(u"vCompany"_s, u"工作单位"_s, 60, 5, 1),
          text(u"vPost"_s, u"担任职务"_s, 30, 6, 1),
          text(u"vWitness"_s, u"证明人"_s, 20, 7, 1)}},
        {u"hr_hi_family"_s,
         u"家庭成员"_s,
         u"家庭成员及社会关系"_s,
         1,
         1,
         2,
         person,
         4,
         1,
         1,
         {},
         0,
         {text(u"vName"_s, u"姓名"_s, 20, 3, 1),
          text(u"vRelation"_s, u"与本人关系"_s, 10, 4, 1),
          date(u"dBirthDate"_s, u"出生日期"_s, 5, 1),
          ref(u"rPolity"_s, u"政治面貌"_s, u"HR_CT004"_s, 6, 1, 1),
          text(u"vCompany"_s, u"工作单位"_s, 60, 7, 1),
          text(u"vPhone"_s, u"联系电话"_s, 20, 8, 1)}},
        {u"hr_hi_contract"_s,
         u"劳动合同"_s,
         u"劳动合同签订与续签"_s,
         1,
         1,
         2,
         person,
         5,
         1,
         4,
         {},
         0,
         {text(u"vContractNo"_s, u"合同编号"_s, 30, 3, 1),
          date(u"dSignDate"_s, u"签订日期"_s, 4, 1),
          date(u"dBeginDate"_s, u"合同开始日期"_s, 5, 1),
          date(u"dEndDate"_s, u"合同终止日期"_s, 6, 1),
          integer(u"iTerm"_s, u"合同期限（月）"_s, 7, 1),
          number(u"nProbationPay"_s, u"试用期工资"_s, 12, 2, 8, 1)}},
        {u"hr_hi_postchange"_s,
         u"职务变动"_s,
         u"任职、免职与调动记录"_s,
         1,
         1,
         2,
         person,
         6,
         1,
         2,
         {},
         0,
         {date(u"dChangeDate"_s, u"变动日期"_s, 3, 1),
          ref(u"rOldDuty"_s, u"原职务"_s, u"hr_om_duty"_s, 4, 1, 1),
          ref(u"rNewDuty"_s, u"新职务"_s, u"hr_om_duty"_s, 5, 1, 1),
          text(u"vReason"_s, u"变动原因"_s, 100, 6, 1)}},
        {u"Department"_s,
         u"部门档案"_s,
         u"部门主表"_s,
         2,
         2,
         1,
         {},
         1,
         0,
         9,
         u"cDepName"_s,
         1,
         {required(text(u"cDepName"_s, u"部门名称"_s, 60, 3)),
          integer(u"iDepGrade"_s, u"部门级次"_s, 4),
          ref(u"cDepPerson"_s, u"负责人"_s, u"hr_hi_person"_s, 5),
          text(u"cDepPhone"_s, u"电话"_s, 20, 6),
          date(u"dDepBeginDate"_s, u"成立日期"_s, 7),
          flag(u"bDepEnd"_s, u"是否末级"_s, 8, u"1"_s)}},
        {u"hr_om_deptplan"_s,
         u"部门编制"_s,
         u"各部门年度编制"_s,
         2,
         1,
         2,
         u"DEPARTMENT"_s,
         2,
         1,
         8,
         {},
         0,
         {integer(u"iYear"_s, u"编制年度"_s, 3, 1),
          integer(u"iPlanNum"_s, u"编制人数"_s, 4, 1),
          integer(u"iActualNum"_s, u"实有人数"_s, 5, 1),
          text(u"vPlanMemo"_s, u"编制说明"_s, 100, 6, 1)}},
        {u"hr_om_duty"_s,
         u"职务"_s,
         u"职务主表"_s,
         3,
         2,
         1,
         {},
         1,
         0,
         10,
         u"cDutyName"_s,
         0,
         {required(text(u"cDutyName"_s, u"职务名称"_s, 40, 3)),
          integer(u"iDutyGrade"_s, u"职务等级"_s, 4),
          text(u"vDutyDesc"_s, u"职务说明"_s, 200, 5)}},
        {u"hr_om_job"_s,
         u"岗位"_s,
         u"岗位主表"_s,
         4,
         2,
         1,
         {},
         1,
         0,
         8,
         u"cJobName"_s,
         1,
         {required(text(u"cJobName"_s, u"岗位名称"_s, 40, 3)),
          ref(u"rDept"_s, u"所属部门"_s, u"Department"_s, 4),
          integer(u"iStaffNum"_s, u"编制人数"_s, 5),
          text(u"vJobDuty"_s, u"岗位职责"_s, 200, 6)}},
        {u"hr_om_jobplan"_s,
         u"岗位编制"_s,
         u"各岗位年度编制"_s,
         4,
         1,
         2,
         u"HR_OM_JOB"_s,
         2,
         1,
         8,
         {},
         0,
         {integer(u"iYear"_s, u"编制年度"_s, 3, 1),
          integer(u"iPlanNum"_s, u"编制人数"_s, 4, 1),
          text(u"vPlanMemo"_s, u"编制说明"_s, 100, 5, 1)}},
        {u"hr_tm_shift"_s,
         u"班次"_s,
         u"考勤班次，供考勤信息项参照"_s,
         5,
         6,
         1,
         {},
         1,
         0,
         128,
         u"vShiftName"_s,
         0,
         {required(text(u"cShiftCode"_s, u"班次编码"_s, 10, 2)),
          text(u"vShiftName"_s, u"班次名称"_s, 30, 3),
          text(u"vBeginTime"_s, u"上班时间"_s, 5, 4),
          text(u"vEndTime"_s, u"下班时间"_s, 5, 5)}},
        {u"hr_qt_holiday"_s,
         u"节假日"_s,
         u"法定节假日与调休"_s,
         9,
         1,
         2,
         {},
         1,
         1,
         128,
         {},
         0,
         {date(u"dHoliday"_s, u"日期"_s, 2, 1),
          text(u"vHolidayName"_s, u"节日名称"_s, 30, 3, 1),
          flag(u"bWorkday"_s, u"调休上班"_s, 4, u"0"_s, 1)}},
    };
}

// Records of a set: for key-bearing tables the first value is the key; the record number counts
// the rows of one key and the last row of a key is the latest.
void writeRecords(SeedWriter &w,
                  const InformationSet &set,
                  const QStringList &columns,
                  const QList<QVariantList> &rows)
{
    static const QUuid space(u"6f1c2f0e-8d9b-4a7e-9a51-3c0f6c1d2b7a"_s);
    const KindOfGroup kind = kindOf(set.group);
    QStringList all{u"PK_"_s + set.code};
    if (!kind.keyColumn.isEmpty())
        all << kind.keyColumn << u"iRecordID"_s << u"blastflag"_s;
    all << columns;

    QHash<QString, int> lastRowOfKey;
    for (int i = 0; i < rows.size(); ++i)
        lastRowOfKey.insert(rows[i].first().toString(), i);
    QHash<QString, int> recordsOfKey;

    SeedWriter::Batch batch(w, set.code, all);
    for (int i = 0; i < rows.size(); ++i) {
        const QUuid id = QUuid::createUuidV5(space, set.code + u'/' + QString::number(i));
        QVariantList values{id.toString(QUuid::WithoutBraces)};
        QVariantList rest = rows[i];
        if (!kind.keyColumn.isEmpty()) {
            const QString key = rest.first().toString();
            values << key << ++recordsOfKey[key] << (lastRowOfKey.value(key) == i ? 1 : 0);
            rest.removeFirst();
        }
        values << rest;
        batch.add(values);
    }
}

void writeRecords(SeedWriter &w, const QList<InformationSet> &sets)
{
    const auto setOf = [&sets](const QString &code) -> const InformationSet & {
        for (const InformationSet &s : sets) {
            if (s.code == code)
                return s;
        }
        Q_UNREACHABLE();
    };
    const QVariant null;
    writeRecords(w,
                 setOf(u"hr_hi_person"_s),
                 {u"cPsn_Name"_s,
                  u"rSex"_s,
                  u"dBirthDate"_s,
                  u"vIDNo"_s,
                  u"rNation"_s,
                  u"rNativePlace"_s,
                  u"rPolity"_s,
                  u"rMarriage"_s,
                  u"rEduDegree"_s,
                  u"rDept"_s,
                  u"rDuty"_s,
                  u"rJob"_s,
                  u"dEnterDate"_s,
                  u"dJoinDate"_s,
                  u"vMobile"_s,
                  u"vEmail"_s,
                  u"bRetired"_s,
                  u"nSalaryBase"_s},
                 {
                     {u"0001"_s,
                      u"王建国"_s,
                      u"1"_s,
                      u"1968-03-12"_s,
                      u"110105196803120017"_s,
                      u"01"_s,
                      u"110105"_s,
                      u"01"_s,
                      u"20"_s,
                      u"21"_s,
                      u"01"_s,
                      u"01"_s,
                      null,
                      u"1990-07-01"_s,
                      u"2005-03-01"_s,
                      u"13901010001"_s,
                      u"wangjianguo@xingqiao.example"_s,
                      0,
                      30000.0},
                     {u"0002"_s,
                      u"李秀英"_s,
                      u"2"_s,
                      u"1979-11-05"_s,
                      u"420106197911054021"_s,
                      u"01"_s,
                      u"420106"_s,
                      u"01"_s,
                      u"20"_s,
                      u"21"_s,
                      u"02"_s,
                      u"02"_s,
                      u"002"_s,
                      u"2001-07-15"_s,
                      u"2010-05-10"_s,
                      u"13907270002"_s,
                      u"lixiuying@xingqiao.example"_s,
                      0,
                      18000.0},
                     {u"0003"_s,
                      u"张伟"_s,
                      u"1"_s,
                      u"1985-06-20"_s,
                      u"510107198506203315"_s,
                      u"01"_s,
                      u"510107"_s,
                      u"13"_s,
                      u"20"_s,
                      u"14"_s,
                      u"0401"_s,
                      u"05"_s,
                      u"004"_s,
                      u"2010-07-01"_s,
                      u"2015-08-03"_s,
                      u"13808280003"_s,
                      u"zhangwei@xingqiao.example"_s,
                      0,
                      22000.0},
                     {u"0004"_s,
                      u"刘洋"_s,
                      u"2"_s,
                      u"1992-01-15"_s,
                      u"320106199201152044"_s,
                      u"03"_s,
                      u"320106"_s,
                      u"03"_s,
                      u"10"_s,
                      u"21"_s,
                      u"0402"_s,
                      u"05"_s,
                      u"005"_s,
                      u"2014-07-01"_s,
                      u"2019-04-01"_s,
                      u"13951250004"_s,
                      null,
                      0,
                      15000.0},
                     {u"0005"_s,
                      u"陈静"_s,
                      u"2"_s,
                      u"1990-09-09"_s,
                      u"350203199009092026"_s,
                      u"01"_s,
                      u"350203"_s,
                      u"13"_s,
                      u"20"_s,
                      u"31"_s,
                      u"03"_s,
                      u"04"_s,
                      u"003"_s,
                      u"2011-07-01"_s,
                      u"2016-02-15"_s,
                      u"13859200005"_s,
                      null,
                      0,
                      12000.0},
                     {u"0006"_s,
                      u"杨帆"_s,
                      u"1"_s,
                      u"1995-12-01"_s,
                      u"450102199512011513"_s,
                      u"08"_s,
                      u"450102"_s,
                      u"03"_s,
                      u"10"_s,
                      u"21"_s,
                      u"05"_s,
                      u"04"_s,
                      u"006"_s,
                      u"2018-07-01"_s,
                      u"2021-06-01"_s,
                      u"13977100006"_s,
                      null,
                      0,
                      9000.0},
                     {u"0007"_s,
                      u"赵敏"_s,
                      u"2"_s,
                      u"1988-04-22"_s,
                      u"210102198804224528"_s,
                      u"11"_s,
                      u"210102"_s,
                      u"07"_s,
                      u"20"_s,
                      u"21"_s,
                      u"02"_s,
                      u"04"_s,
                      u"002"_s,
                      u"2010-07-01"_s,
                      u"2018-09-01"_s,
                      u"13840240007"_s,
                      null,
                      0,
                      11000.0},
                     {u"0008"_s,
                      u"黄磊"_s,
                      u"1"_s,
                      u"1983-08-08"_s,
                      u"330106198308080510"_s,
                      u"01"_s,
                      u"330106"_s,
                      u"12"_s,
                      u"22"_s,
                      u"21"_s,
                      u"0401"_s,
                      u"03"_s,
                      u"004"_s,
                      u"2006-07-01"_s,
                      u"2012-03-19"_s,
                      u"13857100008"_s,
                      null,
                      0,
                      26000.0},
                 });
    writeRecords(
        w,
        setOf(u"Department"_s),
        {u"cDepName"_s,
         u"iDepGrade"_s,
         u"cDepPerson"_s,
         u"cDepPhone"_s,
         u"dDepBeginDate"_s,
         u"bDepEnd"_s},
        {
            {u"01"_s, u"总经理办公室"_s, 1, u"0001"_s, u"010-66880001"_s, u"2005-03-01"_s, 1},
            {u"02"_s, u"人力资源部"_s, 1, u"0002"_s, u"010-66880002"_s, u"2005-03-01"_s, 1},
            {u"03"_s, u"财务部"_s, 1, null, u"010-66880003"_s, u"2005-03-01"_s, 1},
            {u"04"_s, u"研发中心"_s, 1, u"0008"_s, u"010-66880004"_s, u"2008-06-01"_s, 0},
            {u"0401"_s, u"软件开发部"_s, 2, u"0008"_s, null, u"2008-06-01"_s, 1},
            {u"0402"_s, u"测试部"_s, 2, null, null, u"2012-01-01"_s, 1},
            {u"05"_s, u"市场部"_s, 1, null, u"010-66880005"_s, u"2006-01-01"_s, 1},
        });
    writeRecords(w,
                 setOf(u"hr_om_duty"_s),
                 {u"cDutyName"_s, u"iDutyGrade"_s, u"vDutyDesc"_s},
                 {
                     {u"01"_s, u"总经理"_s, 1, u"主持公司全面工作"_s},
                     {u"02"_s, u"部门经理"_s, 2, u"负责本部门工作"_s},
                     {u"03"_s, u"主管"_s, 3, null},
                     {u"04"_s, u"专员"_s, 4, null},
                     {u"05"_s, u"工程师"_s, 4, null},
                 });
    writeRecords(w,
                 setOf(u"hr_om_job"_s),
                 {u"cJobName"_s, u"rDept"_s, u"iStaffNum"_s, u"vJobDuty"_s},
                 {
                     {u"001"_s, u"行政助理"_s, u"01"_s, 2, u"文书、会务与接待"_s},
                     {u"002"_s, u"招聘专员"_s, u"02"_s, 2, u"招聘与入职手续"_s},
                     {u"003"_s, u"会计"_s, u"03"_s, 3, u"账务处理与报表"_s},
                     {u"004"_s, u"软件工程师"_s, u"0401"_s, 8, u"软件设计与开发"_s},
                     {u"005"_s, u"测试工程师"_s, u"0402"_s, 4, u"测试设计与执行"_s},
                     {u"006"_s, u"市场专员"_s, u"05"_s, 3, u"市场推广"_s},
                 });
    writeRecords(
        w,
        setOf(u"hr_hi_education"_s),
        {u"dStartDate"_s, u"dEndDate"_s, u"vSchool"_s, u"vMajor"_s, u"rEduDegree"_s},
        {
            {u"0001"_s, u"1986-09-01"_s, u"1990-07-01"_s, u"北京大学"_s, u"经济学"_s, u"21"_s},
            {u"0003"_s,
             u"2003-09-01"_s,
             u"2007-07-01"_s,
             u"武汉大学"_s,
             u"计算机科学与技术"_s,
             u"21"_s},
            {u"0003"_s,
             u"2007-09-01"_s,
             u"2010-07-01"_s,
             u"华中科技大学"_s,
             u"软件工程"_s,
             u"14"_s},
        });
    writeRecords(w,
                 setOf(u"hr_hi_contract"_s),
                 {u"vContractNo"_s,
                  u"dSignDate"_s,
                  u"dBeginDate"_s,
                  u"dEndDate"_s,
                  u"iTerm"_s,
                  u"nProbationPay"_s},
                 {
                     {u"0002"_s,
                      u"HT2010-017"_s,
                      u"2010-05-10"_s,
                      u"2010-05-10"_s,
                      u"2013-05-09"_s,
                      36,
                      null},
                     {u"0002"_s, u"HT2013-041"_s, u"2013-05-01"_s, u"2013-05-10"_s, null, 0, null},
                     {u"0006"_s,
                      u"HT2021-032"_s,
                      u"2021-06-01"_s,
                      u"2021-06-01"_s,
                      u"2024-05-31"_s,
                      36,
                      7200.0},
                 });
    writeRecords(w,
                 setOf(u"hr_om_deptplan"_s),
                 {u"iYear"_s, u"iPlanNum"_s, u"iActualNum"_s, u"vPlanMemo"_s},
                 {
                     {u"01"_s, 2025, 3, 1, null},
                     {u"02"_s, 2025, 5, 2, null},
                     {u"0401"_s, 2025, 10, 3, u"新增两名后端工程师"_s},
                     {u"0402"_s, 2025, 4, 1, null},
                 });
    writeRecords(w,
                 setOf(u"hr_tm_shift"_s),
                 {u"cShiftCode"_s, u"vShiftName"_s, u"vBeginTime"_s, u"vEndTime"_s},
                 {
                     {u"01"_s, u"正常班"_s, u"08:30"_s, u"17:30"_s},
                     {u"02"_s, u"早班"_s, u"07:00"_s, u"15:00"_s},
                     {u"03"_s, u"晚班"_s, u"15:00"_s, u"23:00"_s},
                 });
    writeRecords(w,
                 setOf(u"hr_qt_holiday"_s),
                 {u"dHoliday"_s, u"vHolidayName"_s, u"bWorkday"_s},
                 {
                     {u"2025-01-01"_s, u"元旦"_s, 0},
                     {u"2025-01-29"_s, u"春节"_s, 0},
                     {u"2025-02-08"_s, u"春节调休"_s, 1},
                     {u"2025-10-01"_s, u"国庆节"_s, 0},
                 });
}

} // namespace

void seedInformationSets(SeedWriter &w)
{
    const QList<InformationSet> sets = informationSets();
    {
        SeedWriter::Batch dict(
            w, u"hr_sys_setdict"_s, {u"cTableCode"_s,  u"vTableName"_s,    u"vdescription"_s,
                                     u"iTableGroup"_s, u"iTableClass"_s,   u"icodeLen"_s,
                                     u"bMultiLevel"_s, u"vCodeFormat"_s,   u"iTableType"_s,
                                     u"icycleType"_s,  u"iBusinessFlag"_s, u"iFunctionScope"_s,
                                     u"bsysFlag"_s,    u"vParentTable"_s,  u"bChildFlag"_s,
                                     u"bdelFlag"_s,    u"ishowOrder"_s,    u"vdisplayItem"_s,
                                     u"vMainKey"_s,    u"bDisplay"_s,      u"vMemo"_s});
        SeedWriter::Batch report(
            w,
            u"Rpt_GRPDEF"_s,
            {u"Systemid"_s, u"Tablename"_s, u"Tabledefine"_s, u"Tabletype"_s, u"SystemName"_s});
        SeedWriter::Batch business(
            w,
            u"AA_BusObject"_s,
            {u"cBusObId"_s, u"cBusObName"_s, u"iAuthType"_s, u"bAuthControl"_s, u"cSub_ID"_s});
        for (const InformationSet &s : sets) {
            dict.add({s.code,
                      s.name,
                      s.description,
                      s.group,
                      s.tableClass,
                      0,
                      0,
                      QVariant(),
                      s.tableType,
                      QVariant(),
                      4,
                      s.scope,
                      s.sysFlag,
                      s.parent,
                      s.childFlag,
                      0,
                      s.showOrder,
                      s.displayItem,
                      QString(u"PK_"_s + s.code),
                      1,
                      QString()});
            report.add({u"HM"_s, s.code, s.name, QString::number(s.group), u"人事信息管理"_s});
            // Sets of the process class are kept out of data authorisation.
            const int auth = s.tableClass == 5 ? 0 : 1;
            business.add({s.code, s.name, auth, auth, u"HM"_s});
        }
    }

    for (const InformationSet &s : sets) {
        const KindOfGroup kind = kindOf(s.group);
        QString columns = u"PK_%1 ZQUID not null"_s.arg(s.code);
        if (!kind.keyColumn.isEmpty()) {
            columns
                += u", %1 %2 not null, iRecordID int, blastflag bit not null default 1, "
                   "vstatus1 nvarchar(50), nstatus2 numeric"_s.arg(kind.keyColumn, kind.keyType);
        }
        for (const Item &i : s.items)
            columns += u", "_s + columnDefinition(i);
        w.createTable(s.code, columns, u"PK_"_s + s.code);
        if (!kind.keyColumn.isEmpty())
            w.createIndex(s.code, kind.keyColumn);

        QList<Item> items = templateItems(templateOf(s.group));
        items << keyItem(s.code) << s.items;
        writeItems(w, s.code, s.name, items, true);
    }
    writeRecords(w, sets);
}

} // namespace vorlane::host::seed
