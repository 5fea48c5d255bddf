#pragma once

#include "entry/Defs.h"
#include "services/Sql.h"

#include <QString>

namespace vorlane::archive {

inline const QString MessageTitle = QStringLiteral("人事信息管理");

inline db::Connection &connection()
{
    return Defs::instance().conn();
}

// A text value between single quotes, its quotes doubled.
inline QString quoted(const QString &value)
{
    return u'\'' + services::sqlText(value) + u'\'';
}

// A code table's name for a statement; db::DbError unless it is an identifier.
inline QString tableName(const QString &tableCode)
{
    return services::checkedIdentifier(tableCode, QStringLiteral("档案表名"));
}

// Whether a query yields a row; db::DbError when it cannot run.
inline bool hasRows(const QString &sql)
{
    db::RecordsetPtr rs = connection().OpenRecordset(sql);
    const bool found = !rs->Eof();
    rs->Close();
    return found;
}

} // namespace vorlane::archive
