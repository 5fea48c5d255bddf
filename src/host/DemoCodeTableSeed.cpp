#include "DemoSeed.h"

#include "db/DbError.h"

#include <QFile>
#include <QHash>
#include <QMap>

namespace vorlane::host::seed {

using namespace Qt::StringLiterals;

namespace {

struct Code
{
    QString code;
    QString name;
    QString shortName;
    QString spell;
    QString parent;
    int level = 0;
    QString memo;
    bool hasChildren = false;
};

struct CodeTable
{
    QString tableCode;
    QString name;
    QString standard;
    QString file;
    bool multiLevel;
};

// National standard code tables. Their codes are read from the seed files compiled into the
// library; each line: code, name, short name, simple spell, parent code, level, memo.
const QList<CodeTable> &codeTables()
{
    static const QList<CodeTable> tables{
        {u"HR_CT001"_s, u"性别"_s, u"GB/T 2261.1-2003 人的性别代码"_s, u"gender.tsv"_s, false},
        {u"HR_CT002"_s, u"民族"_s, u"GB/T 3304-1991 中国各民族名称代码"_s, u"ethnic.tsv"_s, false},
        {u"HR_CT003"_s, u"学历"_s, u"GB/T 4658-2006 学历代码"_s, u"education.tsv"_s, true},
        {u"HR_CT004"_s, u"政治面貌"_s, u"GB/T 4762-1984 政治面貌代码"_s, u"politics.tsv"_s, false},
        {u"HR_CT005"_s, u"婚姻状况"_s, u"GB/T 2261.2-2003 婚姻状况代码"_s, u"marital.tsv"_s, false},
        {u"HR_CT006"_s,
         u"行政区划"_s,
         u"GB/T 2260 中华人民共和国行政区划代码"_s,
         u"admin-divisions.tsv"_s,
         true},
    };
    return tables;
}

[[noreturn]] void badSeed(const QString &file, int line, const QString &why)
{
    throw db::DbError(u"种子文件 %1 第 %2 行：%3"_s.arg(file).arg(line).arg(why));
}

QList<Code> readCodes(const QString &file)
{
    QFile f(u":/vorlane/seed/"_s + file);
    if (!f.open(QIODevice::ReadOnly))
        throw db::DbError(u"缺少种子文件 %1"_s.arg(file));
    QList<Code> codes;
    QHash<QString, qsizetype> byCode;
    int lineNo = 0;
    while (!f.atEnd()) {
        ++lineNo;
        QString line = QString::fromUtf8(f.readLine());
        while (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList parts = line.split(u'\t');
        if (parts.size() != 7)
            badSeed(file, lineNo, u"应有 7 列"_s);
        Code c{parts[0], parts[1], parts[2], parts[3], parts[4], parts[5].toInt(), parts[6]};
        if (byCode.contains(c.code.toUpper()))
            badSeed(file, lineNo, u"代码 %1 重复"_s.arg(c.code));
        if (c.parent.isEmpty()) {
            if (c.level != 0)
                badSeed(file, lineNo, u"顶层代码的级别应为 0"_s);
        } else {
            const auto parent = byCode.constFind(c.parent.toUpper());
            if (parent == byCode.cend())
                badSeed(file, lineNo, u"上级代码 %1 应在它之前出现"_s.arg(c.parent));
            Code &p = codes[*parent];
            if (!c.code.startsWith(p.code) || c.code.size() <= p.code.size())
                badSeed(file, lineNo, u"代码应以上级代码开头且更长"_s);
            if (c.level != p.level + 1)
                badSeed(file, lineNo, u"级别应为上级级别加 1"_s);
            p.hasChildren = true;
        }
        byCode.insert(c.code.toUpper(), codes.size());
        codes << c;
    }
    return codes;
}

// "2-2-2" for codes of 2, 4 and 6 characters on levels 0, 1 and 2.
QString codeFormat(const QList<Code> &codes)
{
    QMap<int, int> lengthOfLevel;
    for (const Code &c : codes)
        lengthOfLevel.insert(c.level, qMax(lengthOfLevel.value(c.level), int(c.code.size())));
    QStringList parts;
    int previous = 0;
    for (auto it = lengthOfLevel.cbegin(); it != lengthOfLevel.cend(); ++it) {
        parts << QString::number(it.value() - previous);
        previous = it.value();
    }
    return parts.join(u'-');
}

} // namespace

void seedCodeTables(SeedWriter &w)
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
    int order = 0;
    for (const CodeTable &t : codeTables()) {
        const QList<Code> codes = readCodes(t.file);
        // Archive classes are filed under no table group, as the archive class editor files them.
        dict.add({t.tableCode,
                  t.name,
                  t.standard,
                  0,
                  3,
                  30,
                  t.multiLevel ? 1 : 0,
                  codeFormat(codes),
                  1,
                  QVariant(),
                  4,
                  0,
                  0,
                  QString(),
                  0,
                  0,
                  ++order,
                  u"vDescription"_s,
                  u"cCodeID"_s,
                  1,
                  QString()});
        report.add({u"HM"_s, t.tableCode, t.name, u"0"_s, u"人事信息管理"_s});

        w.createTable(t.tableCode,
                      u"ccodeID varchar(30) not null, vdescription nvarchar(60) not null, "
                      "vsimpleName nvarchar(60) null, vsimpleSpell varchar(60) null, "
                      "ilevels int null, cpCodeID varchar(30) null, bsysFlag char(1) null, "
                      "bChildFlag char(1) null, bhideFlag char(1) null, vMemo varchar(200) null"_s,
                      u"ccodeID"_s);
        w.createIndex(t.tableCode, u"cpCodeID"_s);
        w.createIndex(t.tableCode, u"ilevels"_s);
        writeItems(w, t.tableCode, t.name, templateItems(u"HR_CT"_s), false);

        SeedWriter::Batch rows(w,
                               t.tableCode,
                               {u"ccodeID"_s,
                                u"vdescription"_s,
                                u"vsimpleName"_s,
                                u"vsimpleSpell"_s,
                                u"ilevels"_s,
                                u"cpCodeID"_s,
                                u"bsysFlag"_s,
                                u"bChildFlag"_s,
                                u"bhideFlag"_s,
                                u"vMemo"_s});
        for (const Code &c : codes) {
            rows.add({c.code,
                      c.name,
                      c.shortName,
                      c.spell,
                      c.level,
                      c.parent,
                      u"0"_s,
                      c.hasChildren ? u"1"_s : u"0"_s,
                      u"0"_s,
                      c.memo});
        }
    }
}

} // namespace vorlane::host::seed
