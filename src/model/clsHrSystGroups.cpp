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
    KeyColumn key(u"iTablegroup");
    return loadCollection(*this, conn, strSql, [&](const db::Recordset &rs) -> QString {
        return trimBlanks(key.text(rs));
    });
}

} // namespace vorlane
