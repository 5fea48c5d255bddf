#include "Defs.h"

#include "db/DbError.h"

namespace vorlane {

Defs &Defs::instance()
{
    // Never destroyed: what it holds (the connection, the host's objects) runs statements when
    // released, and at exit the objects those statements need may already be gone.
    static Defs *defs = new Defs;
    return *defs;
}

db::Connection &Defs::conn() const
{
    if (!connection)
        throw db::DbError(QStringLiteral("没有数据库连接"));
    return *connection;
}

VexaLogin &Defs::login() const
{
    if (!cLogin)
        throw HostError(QStringLiteral("宿主尚未提供登录对象"));
    return *cLogin;
}

void Defs::reset()
{
    *this = Defs();
}

QString helpLocationFor(const QString &installPath)
{
    return installPath + u"/share/help/";
}

} // namespace vorlane
