#include "AccountSummary.h"

#include "model/clsHrSysSetDicts.h"
#include "model/clsHrSystGroups.h"

namespace vorlane::app {

namespace {

int count(db::Connection &conn, const QString &sql)
{
    auto rs = conn.OpenRecordset(sql);
    return rs->Eof() ? 0 : rs->FieldValue(0).toInt();
}

} // namespace

AccountSummary summarize(db::Connection &conn)
{
    AccountSummary s;
    s.groups = count(conn, QStringLiteral("select count(*) from hr_sys_tgroup"));
    s.sets = count(conn,
                   QStringLiteral("select count(*) from hr_sys_setdict where itableclass<>'3' "
                                  "and isnull(bdelFlag,'0')<>'1'"));
    s.codeTables = count(conn,
                         QStringLiteral("select count(*) from hr_sys_setdict where itableclass='3' "
                                        "and isnull(bdelFlag,'0')<>'1'"));
    s.items = count(conn,
                    QStringLiteral("select count(*) from hr_sys_itemdict i inner join hr_sys_setdict s "
                                   "on i.ctablecode=s.ctablecode where s.itableclass<>'3' "
                                   "and isnull(s.bdelFlag,'0')<>'1'"));
    return s;
}

DictionaryTable dictionaryTable()
{
    DictionaryTable t;
    t.header = {QStringLiteral("分组"),
                QStringLiteral("信息集编码"),
                QStringLiteral("信息集名称"),
                QStringLiteral("类别"),
                QStringLiteral("说明")};
    clsHrSystGroups groups;
    groups.Load(QStringLiteral("select * from hr_sys_tgroup order by itablegroup"));
    clsHrSysSetDicts sets;
    sets.Load(QStringLiteral("select * from hr_sys_setdict where isnull(bdelFlag,'0')<>'1' "
                             "order by itablegroup, ishowOrder, ctablecode"));
    for (const auto &set : sets) {
        QString group;
        if (set->TableClass() == QLatin1String("3"))
            group = QStringLiteral("档案类");
        else if (groups.Exists(set->TableGroup()))
            group = groups.Item(set->TableGroup())->description();
        else
            group = set->TableGroup();
        t.rows.append({group,
                       set->TableCode(),
                       set->TableName(),
                       set->sFlag() == QLatin1String("0") ? QStringLiteral("系统")
                                                           : QStringLiteral("自定义"),
                       set->description()});
    }
    return t;
}

} // namespace vorlane::app
