#pragma once

#include <QString>
#include <QtGlobal>

namespace vorlane {

namespace db {
class Recordset;
}

// One row of hr_sys_dateformat: a date display format.
// Setters store values unchanged; LoadFromRecordset fills every property from the current row.
class clsHrSysDataFormat
{
public:
    qint16 Id() const { return m_id; }
    void setId(qint16 value) { m_id = value; }
    QString DateFormat() const { return m_dateFormat; }
    void setDateFormat(const QString &value) { m_dateFormat = value; }
    QString Memo() const { return m_memo; }
    void setMemo(const QString &value) { m_memo = value; }

    // Reads the columns by name (any letter case) through NullSafeValue; the record set is
    // neither moved nor closed. Throws db::DbError for a missing column and ModelError for a
    // value that does not convert, leaving the properties read before it set. Returns true.
    bool LoadFromRecordset(db::Recordset &rs);

private:
    qint16 m_id = 1;
    QString m_dateFormat = QStringLiteral("yyyy-mm-dd");
    QString m_memo;
};

} // namespace vorlane
