#include "HostSession.h"

#include "entry/Defs.h"
#include "entry/clsLoginMsg.h"
#include "entry/clsShowForm.h"
#include "host/HostLogin.h"

namespace vorlane::test {

HostSession::HostSession()
    : HostSession(Options())
{}

HostSession::HostSession(const Options &options)
{
    Defs::instance().reset();
    login = host::HostLogin::signIn(db.connectionString(),
                                    options.operatorCode,
                                    QDate(2026, 12, 1),
                                    qEnvironmentVariable("VORLANE_SOURCE_DIR"));
    clsLoginMsg msg;
    msg.setCLogin(login);
    msg.setZWPub(login);
    msg.setCAccId(login->AccountCode());
    msg.setOptName(login->OperatorName());
    msg.setIsAdmin(login->IsSupervisor());
    msg.setHMJZ(options.carriedForward);
    msg.setOptFlag(options.optFlag);
    msg.setMenuID(QStringLiteral("HR0101"));
    msg.setSYSID(QStringLiteral("HR"));
    msg.setMenueStyleID(2);
    form = std::make_unique<clsShowForm>();
}

HostSession::~HostSession()
{
    form.reset();
    if (login)
        login->ReleaseAll();
    Defs::instance().reset();
}

db::Connection &HostSession::conn()
{
    return Defs::instance().conn();
}

} // namespace vorlane::test
