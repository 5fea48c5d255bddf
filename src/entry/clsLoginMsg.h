#pragma once

#include "host/VexaLogin.h"

#include <QDate>
#include <QString>

#include <memory>

namespace vorlane {

// The host hands over the signed-in user's login context through this object. Every put lands in
// the process-wide login context (Defs); an instance keeps copies of some values for its gets,
// while OptFlag, ZWPub, MenuID, SYSID and MenueStyleID are read back from the login context.
class clsLoginMsg
{
public:
    // Resets the login context's OptFlag to 0; nothing else of the context changes.
    clsLoginMsg();

    std::shared_ptr<VexaLogin> cLogin() const { return m_cLogin; }
    // Also points the help location at the host's installation.
    void setCLogin(std::shared_ptr<VexaLogin> login);

    QString CAccId() const { return m_CAccId; }
    void setCAccId(const QString &value);

    QString CAccName() const { return m_CAccName; }
    void setCAccName(const QString &value);

    QString OptId() const { return m_OptId; }
    void setOptId(const QString &value);

    QString OptName() const { return m_OptName; }
    void setOptName(const QString &value);

    QDate OperateDate() const { return m_OperateDate; }
    void setOperateDate(const QDate &value);

    bool IsAdmin() const { return m_IsAdmin; }
    void setIsAdmin(bool value);

    bool DemoExe() const { return m_DemoExe; }
    void setDemoExe(bool value);

    QString CurrentPath() const { return m_CurrentPath; }
    void setCurrentPath(const QString &value);

    QString UserId() const { return m_UserId; }
    void setUserId(const QString &value);

    QString DbName() const { return m_DbName; }
    void setDbName(const QString &value);

    QString DbIp() const { return m_DbIp; }
    void setDbIp(const QString &value);

    qint16 OptFlag() const;
    void setOptFlag(qint16 value);

    std::shared_ptr<vorlane::ZWPub> ZWPub() const;
    void setZWPub(std::shared_ptr<vorlane::ZWPub> value);

    QString MenuID() const;
    void setMenuID(const QString &value);

    QString SYSID() const;
    void setSYSID(const QString &value);

    bool HMJZ() const { return m_HMJZ; }
    void setHMJZ(bool value);

    qint16 MenueStyleID() const;
    void setMenueStyleID(qint16 value);

private:
    std::shared_ptr<VexaLogin> m_cLogin;
    QString m_CAccId;
    QString m_CAccName;
    QString m_OptId;
    QString m_OptName;
    QDate m_OperateDate{1666, 6, 6};
    bool m_IsAdmin = true;
    bool m_DemoExe = true;
    QString m_CurrentPath;
    QString m_UserId;
    QString m_DbName;
    QString m_DbIp;
    bool m_HMJZ = false;
};

} // namespace vorlane
