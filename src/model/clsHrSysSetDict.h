#pragma once

#include <QString>
#include <QtGlobal>

namespace vorlane {

namespace db {
class Recordset;
}

// One row of hr_sys_setdict: an information set, or an archive class (table class 3).
// Setters store values unchanged; LoadFromRecordset fills every property from the current row.
class clsHrSysSetDict
{
public:
    QString TableCode() const { return m_tableCode; }
    void setTableCode(const QString &value) { m_tableCode = value; }
    QString TableName() const { return m_tableName; }
    void setTableName(const QString &value) { m_tableName = value; }
    QString description() const { return m_description; }
    void setDescription(const QString &value) { m_description = value; }
    QString TableGroup() const { return m_tableGroup; }
    void setTableGroup(const QString &value) { m_tableGroup = value; }
    QString TableClass() const { return m_tableClass; }
    void setTableClass(const QString &value) { m_tableClass = value; }
    qint32 CodeLen() const { return m_codeLen; }
    void setCodeLen(qint32 value) { m_codeLen = value; }
    QString MultiLevel() const { return m_multiLevel; }
    void setMultiLevel(const QString &value) { m_multiLevel = value; }
    QString CodeFormat() const { return m_codeFormat; }
    void setCodeFormat(const QString &value) { m_codeFormat = value; }
    QString TableType() const { return m_tableType; }
    void setTableType(const QString &value) { m_tableType = value; }
    QString CycleType() const { return m_cycleType; }
    void setCycleType(const QString &value) { m_cycleType = value; }
    QString BusinessFlag() const { return m_businessFlag; }
    void setBusinessFlag(const QString &value) { m_businessFlag = value; }
    QString FunctionFlag() const { return m_functionFlag; }
    void setFunctionFlag(const QString &value) { m_functionFlag = value; }
    QString sFlag() const { return m_sFlag; }
    void setSFlag(const QString &value) { m_sFlag = value; }
    QString ParentTable() const { return m_parentTable; }
    void setParentTable(const QString &value) { m_parentTable = value; }
    QString cFlag() const { return m_cFlag; }
    void setCFlag(const QString &value) { m_cFlag = value; }
    QString dFlag() const { return m_dFlag; }
    void setDFlag(const QString &value) { m_dFlag = value; }
    qint16 Display() const { return m_display; }
    void setDisplay(qint16 value) { m_display = value; }
    QString ShowOrder() const { return m_showOrder; }
    void setShowOrder(const QString &value) { m_showOrder = value; }
    QString DisplayItem() const { return m_displayItem; }
    void setDisplayItem(const QString &value) { m_displayItem = value; }
    QString MainKey() const { return m_mainKey; }
    void setMainKey(const QString &value) { m_mainKey = value; }
    QString Memo() const { return m_memo; }
    void setMemo(const QString &value) { m_memo = value; }

    // Reads the columns by name (any letter case) through NullSafeValue; the record set is
    // neither moved nor closed. Throws db::DbError for a missing column and ModelError for a
    // value that does not convert, leaving the properties read before it set. Returns true.
    bool LoadFromRecordset(db::Recordset &rs);

private:
    QString m_tableCode;
    QString m_tableName;
    QString m_description;
    QString m_tableGroup = QStringLiteral("0");
    QString m_tableClass = QStringLiteral("1");
    qint32 m_codeLen = 0;
    QString m_multiLevel;
    QString m_codeFormat;
    QString m_tableType = QStringLiteral("1");
    QString m_cycleType;
    QString m_businessFlag = QStringLiteral("0");
    QString m_functionFlag = QStringLiteral("0");
    QString m_sFlag = QStringLiteral("0");
    QString m_parentTable;
    QString m_cFlag;
    QString m_dFlag = QStringLiteral("0");
    qint16 m_display = 0;
    QString m_showOrder = QStringLiteral("9999");
    QString m_displayItem;
    QString m_mainKey;
    QString m_memo;
};

} // namespace vorlane
