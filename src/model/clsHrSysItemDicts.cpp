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
    return loadRows(
        conn,
        strSql,
        [&](const db::Recordset &rs) -> QString {
            return trimBlanks(tableCode.text(rs)) + u'^' + trimBlanks(itemCode.text(rs));
        },
        [](const clsHrSysItemDict &r, KeyText &key) {
            appendTrimmed(key, r.TableCode());
            key.append(u'^');
            appendTrimmed(key, r.ItemCode());
        },
        {u"cTableCode", u"citemCode"});
}

} // namespace vorlane
