#include "clsHrSystGroups.h"

#include "CollectionLoader.h"

namespace vorlane {

bool clsHrSystGroups::Load(const QString &strSql)
{
    try {
        return Load(sharedConnection(), strSql);
    } catch (...) {
        return false;
    }
}

bool clsHrSystGroups::Load(db::Connection &conn, const QString &strSql)
{
    KeyColumn group(u"iTablegroup");
    return loadRows(
        conn,
        strSql,
        [&](const db::Recordset &rs) -> QString { return trimBlanks(group.text(rs)); },
        [](const clsHrSystGroup &r, KeyText &key) { appendTrimmed(key, r.TableGroup()); },
        {u"iTablegroup"});
}

} // namespace vorlane
