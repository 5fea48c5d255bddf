#include "Defs.h"

#include "db/DbError.h"

namespace vorlane {

Defs &Defs::instance()
{
    static Defs defs;
    return defs;
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
