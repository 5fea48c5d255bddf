#include "AccountSummary.h"

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
    s.items
        = count(conn,
                QStringLiteral("select count(*) from hr_sys_itemdict i inner join hr_sys_setdict s "
                               "on i.ctablecode=s.ctablecode where s.itableclass<>'3' "
                               "and isnull(s.bdelFlag,'0')<>'1'"));
    return s;
}

} // namespace vorlane::app
