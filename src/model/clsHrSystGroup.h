#pragma once

#include <QString>
#include <QtGlobal>

namespace vorlane {

namespace db {
class Recordset;
}

// One row of hr_sys_tgroup: a table group under which information sets are filed.
// Setters store values unchanged; LoadFromRecordset fills every property from the current row.
class clsHrSystGroup
{
public:
    QString TableGroup() const { return m_tableGroup; }
    void setTableGroup(const QString &value) { m_tableGroup = value; }
    QString description() const { return m_description; }
    void setDescription(const QString &value) { m_description = value; }
    qint16 sFlag() const { return m_sFlag; }
    void setSFlag(qint16 value) { m_sFlag = value; }
    QString Memo() const { return m_memo; }
    void setMemo(const QString &value) { m_memo = value; }

    // Reads the columns by name (any letter case) through NullSafeValue; the record set is
    // neither moved nor closed. Throws db::DbError for a missing column and ModelError for a
    // value that does not convert, leaving the properties read before it set. Returns true.
    bool LoadFromRecordset(db::Recordset &rs);

private:
    QString m_tableGroup = QStringLiteral("0");
    QString m_description;
    qint16 m_sFlag = 0;
    QString m_memo;
};

} // namespace vorlane
