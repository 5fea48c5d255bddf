#pragma once

#include <QString>
#include <QtGlobal>

namespace vorlane {

namespace db {
class Recordset;
}

// One row of hr_sys_itemdict: an information item, a column of an information set's table.
// Setters store values unchanged; LoadFromRecordset fills every property from the current row.
class clsHrSysItemDict
{
public:
    QString TableCode() const { return m_tableCode; }
    void setTableCode(const QString &value) { m_tableCode = value; }
    QString ItemCode() const { return m_itemCode; }
    void setItemCode(const QString &value) { m_itemCode = value; }
    QString description() const { return m_description; }
    void setDescription(const QString &value) { m_description = value; }
    QString itemname() const { return m_itemname; }
    void setItemname(const QString &value) { m_itemname = value; }
    QString itemtype() const { return m_itemtype; }
    void setItemtype(const QString &value) { m_itemtype = value; }
    QString ReferenceObj() const { return m_referenceObj; }
    void setReferenceObj(const QString &value) { m_referenceObj = value; }
    QString LastLevelFalg() const { return m_lastLevelFalg; }
    void setLastLevelFalg(const QString &value) { m_lastLevelFalg = value; }
    QString itemlen() const { return m_itemlen; }
    void setItemlen(const QString &value) { m_itemlen = value; }
    QString itemdec() const { return m_itemdec; }
    void setItemdec(const QString &value) { m_itemdec = value; }
    qint16 sFlag() const { return m_sFlag; }
    void setSFlag(qint16 value) { m_sFlag = value; }
    qint16 rflag() const { return m_rflag; }
    void setRflag(qint16 value) { m_rflag = value; }
    qint16 nflag() const { return m_nflag; }
    void setNflag(qint16 value) { m_nflag = value; }
    QString sdefault() const { return m_sdefault; }
    void setSdefault(const QString &value) { m_sdefault = value; }
    QString sformat() const { return m_sformat; }
    void setSformat(const QString &value) { m_sformat = value; }
    qint16 dFlag() const { return m_dFlag; }
    void setDFlag(qint16 value) { m_dFlag = value; }
    qint16 Display() const { return m_display; }
    void setDisplay(qint16 value) { m_display = value; }
    qint16 ShowOrder() const { return m_showOrder; }
    void setShowOrder(qint16 value) { m_showOrder = value; }
    qint16 BusinessFlag() const { return m_businessFlag; }
    void setBusinessFlag(qint16 value) { m_businessFlag = value; }
    qint16 DefaultField() const { return m_defaultField; }
    void setDefaultField(qint16 value) { m_defaultField = value; }
    QString Memo() const { return m_memo; }
    void setMemo(const QString &value) { m_memo = value; }

    // Reads the columns by name (any letter case) through NullSafeValue; the record set is
    // neither moved nor closed. Throws db::DbError for a missing column and ModelError for a
    // value that does not convert, leaving the properties read before it set. Returns true.
    bool LoadFromRecordset(db::Recordset &rs);

private:
    QString m_tableCode;
    QString m_itemCode;
    QString m_description;
    QString m_itemname;
    QString m_itemtype;
    QString m_referenceObj;
    QString m_lastLevelFalg;
    QString m_itemlen = QStringLiteral("0");
    QString m_itemdec = QStringLiteral("0");
    qint16 m_sFlag = 0;
    qint16 m_rflag = 0;
    qint16 m_nflag = 0;
    QString m_sdefault;
    QString m_sformat;
    qint16 m_dFlag = 0;
    qint16 m_display = 0;
    qint16 m_showOrder = 99;
    qint16 m_businessFlag = 4;
    qint16 m_defaultField = 0;
    QString m_memo;
};

} // namespace vorlane
