#include "clsHrSystGroupFace.h"

#include "ServiceCall.h"
#include "Sql.h"
#include "entry/Defs.h"
#include "model/clsHrSystGroup.h"

namespace vorlane {

using services::sqlText;
using services::trapped;

namespace {

QString q(const QString &value)
{
    return u'\'' + sqlText(value) + u'\'';
}

} // namespace

bool clsHrSystGroupFace::Modify(const clsHrSystGroup &cls, const QString &TableGroup)
{
    return trapped(m_lastError, [&] {
        Defs::instance().conn().Execute(QStringLiteral("update hr_sys_tgroup set  vdescription=")
                                        + q(cls.description()) + QStringLiteral(",  bsysFlag=")
                                        + q(QString::number(cls.sFlag()))
                                        + QStringLiteral(",  vmemo=") + q(cls.Memo())
                                        + QStringLiteral("  where itablegroup=") + q(TableGroup));
        return true;
    });
}

bool clsHrSystGroupFace::Add(const clsHrSystGroup &clsCt)
{
    return trapped(m_lastError, [&] {
        Defs::instance().conn().Execute(
            QStringLiteral(
                "insert hr_sys_tgroup  (itablegroup,vdescription,bsysFlag,vMemo)  values  (")
            + q(clsCt.TableGroup()) + u',' + q(clsCt.description()) + u','
            + q(QString::number(clsCt.sFlag())) + u',' + q(clsCt.Memo()) + u')');
        return true;
    });
}

} // namespace vorlane
