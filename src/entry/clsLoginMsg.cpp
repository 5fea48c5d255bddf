#include "clsLoginMsg.h"

#include "Defs.h"

namespace vorlane {

clsLoginMsg::clsLoginMsg()
{
    Defs::instance().OptFlag = 0;
}

void clsLoginMsg::setCLogin(std::shared_ptr<VexaLogin> login)
{
    m_cLogin = login;
    Defs &defs = Defs::instance();
    defs.cLogin = std::move(login);
    defs.helpLocation = defs.cLogin ? helpLocationFor(defs.cLogin->InstallPath()) : QString();
}

void clsLoginMsg::setCAccId(const QString &value)
{
    m_CAccId = value;
    Defs::instance().CAccId = value;
}

void clsLoginMsg::setCAccName(const QString &value)
{
    m_CAccName = value;
    Defs::instance().CAccName = value;
}

void clsLoginMsg::setOptId(const QString &value)
{
    m_OptId = value;
    Defs::instance().OptId = value;
}

void clsLoginMsg::setOptName(const QString &value)
{
    m_OptName = value;
    Defs::instance().OptName = value;
}

void clsLoginMsg::setOperateDate(const QDate &value)
{
    m_OperateDate = value;
    Defs::instance().OperateDate = value;
}

void clsLoginMsg::setIsAdmin(bool value)
{
    m_IsAdmin = value;
    Defs::instance().IsAdmin = value;
}

void clsLoginMsg::setDemoExe(bool value)
{
    m_DemoExe = value;
    Defs::instance().DemoExe = value;
}

void clsLoginMsg::setCurrentPath(const QString &value)
{
    m_CurrentPath = value;
    Defs::instance().CurrentPath = value;
}

void clsLoginMsg::setUserId(const QString &value)
{
    m_UserId = value;
    Defs::instance().UserId = value;
}

void clsLoginMsg::setDbName(const QString &value)
{
    m_DbName = value;
    Defs::instance().DbName = value;
}

void clsLoginMsg::setDbIp(const QString &value)
{
    m_DbIp = value;
    Defs::instance().DbIp = value;
}

qint16 clsLoginMsg::OptFlag() const
{
    return Defs::instance().OptFlag;
}

void clsLoginMsg::setOptFlag(qint16 value)
{
    Defs::instance().OptFlag = value;
}

std::shared_ptr<vorlane::ZWPub> clsLoginMsg::ZWPub() const
{
    return Defs::instance().ZWPub;
}

void clsLoginMsg::setZWPub(std::shared_ptr<vorlane::ZWPub> value)
{
    Defs::instance().ZWPub = std::move(value);
}

QString clsLoginMsg::MenuID() const
{
    return Defs::instance().MenuID;
}

void clsLoginMsg::setMenuID(const QString &value)
{
    Defs::instance().MenuID = value;
}

QString clsLoginMsg::SYSID() const
{
    return Defs::instance().SYSID;
}

void clsLoginMsg::setSYSID(const QString &value)
{
    Defs::instance().SYSID = value;
}

void clsLoginMsg::setHMJZ(bool value)
{
    m_HMJZ = value;
    Defs::instance().HMJZ = value;
}

qint16 clsLoginMsg::MenueStyleID() const
{
    return Defs::instance().MenueStyleID;
}

void clsLoginMsg::setMenueStyleID(qint16 value)
{
    Defs::instance().MenueStyleID = value;
}

} // namespace vorlane
