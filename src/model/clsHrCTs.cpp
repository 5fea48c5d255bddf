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
    return loadRows(
        conn,
        strSql,
        [&](const db::Recordset &rs) -> QString { return codeId.text(rs); },
        [](const clsHrCT &r, KeyText &key) {
            const QString code = r.CodeId();
            key.append(QStringView(code).utf16(), code.size());
        },
        {u"cCodeId"});
}

} // namespace vorlane
