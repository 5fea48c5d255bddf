#include "clsHrSysItemDicts.h"

#include "CollectionLoader.h"

namespace vorlane {

bool clsHrSysItemDicts::Load(const QString &strSql)
{
    try {
        return Load(sharedConnection(), strSql);
    } catch (...) {
        return false;
    }
}

bool clsHrSysItemDicts::Load(db::Connection &conn, const QString &strSql)
{
    // The item code alone is not unique: the same code occurs in many tables.
    KeyColumn tableCode(u"cTableCode");
    KeyColumn itemCode(u"citemCode");
    return loadCollection(*this, conn, strSql, [&](const db::Recordset &rs) -> QString {
        return trimBlanks(tableCode.text(rs)) + u'^' + trimBlanks(itemCode.text(rs));
    });
}

} // namespace vorlane
