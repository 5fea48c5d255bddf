#include "clsHrCTs.h"

#include "CollectionLoader.h"

namespace vorlane {

bool clsHrCTs::Load(const QString &strSql)
{
    try {
        return Load(sharedConnection(), strSql);
    } catch (...) {
        return false;
    }
}

bool clsHrCTs::Load(db::Connection &conn, const QString &strSql)
{
    // Codes are keyed as stored: trailing blanks stay part of the key.
    KeyColumn codeId(u"cCodeId");
    return loadCollection(
        *this, conn, strSql, [&](const db::Recordset &rs) -> QString { return codeId.text(rs); });
}

} // namespace vorlane
