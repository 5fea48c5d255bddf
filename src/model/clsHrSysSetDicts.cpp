#include "clsHrSysSetDicts.h"

#include "CollectionLoader.h"

namespace vorlane {

bool clsHrSysSetDicts::Load(const QString &strSql)
{
    try {
        return Load(sharedConnection(), strSql);
    } catch (...) {
        return false;
    }
}

bool clsHrSysSetDicts::Load(db::Connection &conn, const QString &strSql)
{
    KeyColumn tableCode(u"cTableCode");
    return loadRows(
        conn,
        strSql,
        [&](const db::Recordset &rs) -> QString { return trimBlanks(tableCode.text(rs)); },
        [](const clsHrSysSetDict &r, KeyText &key) { appendTrimmed(key, r.TableCode()); },
        {u"cTableCode"});
}

} // namespace vorlane
