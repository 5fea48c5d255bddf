#pragma once

#include <QString>
#include <QtGlobal>

namespace vorlane {

namespace db {
class Recordset;
}

// One row of hr_sys_datatype: a data type of information items and the column type it maps to.
// Setters store values unchanged; LoadFromRecordset fills every property from the current row.
class clsHrSysDataType
{
public:
    qint16 Id() const { return m_id; }
    void setId(qint16 value) { m_id = value; }
    QString Name() const { return m_name; }
    void setName(const QString &value) { m_name = value; }
    QString FactType() const { return m_factType; }
    void setFactType(const QString &value) { m_factType = value; }
    QString description() const { return m_description; }
    void setDescription(const QString &value) { m_description = value; }
    QString SimpleSpell() const { return m_simpleSpell; }
    void setSimpleSpell(const QString &value) { m_simpleSpell = value; }
    QString Memo() const { return m_memo; }
    void setMemo(const QString &value) { m_memo = value; }

    // Reads the columns by name (any letter case) through NullSafeValue; the record set is
    // neither moved nor closed. Throws db::DbError for a missing column and ModelError for a
    // value that does not convert, leaving the properties read before it set. Returns true.
    bool LoadFromRecordset(db::Recordset &rs);

private:
    qint16 m_id = 1;
    QString m_name = QStringLiteral("char");
    QString m_factType = QStringLiteral("char");
    QString m_description = QStringLiteral("定长字符型");
    QString m_simpleSpell = QStringLiteral("c");
    QString m_memo;
};

} // namespace vorlane
