#include "clsHrSysDataFormats.h"

#include "CollectionLoader.h"

namespace vorlane {

bool clsHrSysDataFormats::Load(const QString &strSql)
{
    try {
        return Load(sharedConnection(), strSql);
    } catch (...) {
        return false;
    }
}

bool clsHrSysDataFormats::Load(db::Connection &conn, const QString &strSql)
{
    // The record holds the id as a number, so the key comes from the row itself ("01" stays "01").
    KeyColumn id(u"id");
    return loadRows(
        conn, strSql, [&](const db::Recordset &rs) -> QString { return trimBlanks(id.text(rs)); });
}

} // namespace vorlane
