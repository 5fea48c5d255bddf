#pragma once

#include <QString>
#include <QtGlobal>

namespace vorlane {

namespace db {
class Recordset;
}

// One code of a code table (an HR_CT table): the code, its names, its parent and its level.
// Setters store values unchanged; LoadFromRecordset fills every property from the current row.
class clsHrCT
{
public:
    QString CodeId() const { return m_codeId; }
    void setCodeId(const QString &value) { m_codeId = value; }
    QString description() const { return m_description; }
    void setDescription(const QString &value) { m_description = value; }
    QString SimpleName() const { return m_simpleName; }
    void setSimpleName(const QString &value) { m_simpleName = value; }
    QString SimpleSpell() const { return m_simpleSpell; }
    void setSimpleSpell(const QString &value) { m_simpleSpell = value; }
    qint32 Levels() const { return m_levels; }
    void setLevels(qint32 value) { m_levels = value; }
    QString pCodeId() const { return m_pCodeId; }
    void setPCodeId(const QString &value) { m_pCodeId = value; }
    QString sFlag() const { return m_sFlag; }
    void setSFlag(const QString &value) { m_sFlag = value; }
    QString cFlag() const { return m_cFlag; }
    void setCFlag(const QString &value) { m_cFlag = value; }
    QString HideFlag() const { return m_hideFlag; }
    void setHideFlag(const QString &value) { m_hideFlag = value; }
    QString Memo() const { return m_memo; }
    void setMemo(const QString &value) { m_memo = value; }

    // Reads the columns by name (any letter case) through NullSafeValue; the record set is
    // neither moved nor closed. Throws db::DbError for a missing column and ModelError for a
    // value that does not convert, leaving the properties read before it set. Returns true.
    bool LoadFromRecordset(db::Recordset &rs);

private:
    QString m_codeId;
    QString m_description;
    QString m_simpleName;
    QString m_simpleSpell;
    qint32 m_levels = 0;
    QString m_pCodeId;
    QString m_sFlag = QStringLiteral("0");
    QString m_cFlag = QStringLiteral("0");
    QString m_hideFlag = QStringLiteral("0");
    QString m_memo;
};

} // namespace vorlane
