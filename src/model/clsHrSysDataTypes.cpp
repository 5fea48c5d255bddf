#include "clsHrSysDataTypes.h"

#include "CollectionLoader.h"

namespace vorlane {

bool clsHrSysDataTypes::Load(const QString &strSql)
{
    try {
        return Load(sharedConnection(), strSql);
    } catch (...) {
        return false;
    }
}

bool clsHrSysDataTypes::Load(db::Connection &conn, const QString &strSql)
{
    KeyColumn key(u"id");
    return loadCollection(*this, conn, strSql, [&](const db::Recordset &rs) -> QString {
        return trimBlanks(key.text(rs));
    });
}

} // namespace vorlane
