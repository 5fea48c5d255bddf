#include "clsManagefrm.h"

#include "common/LauncherWindow.h"
#include "entry/MessageService.h"
#include "entry/mdlFunction.h"
#include "model/clsHrSysSetDicts.h"
#include "services/Sql.h"
#include "structure/frmAddConstructItem.h"
#include "structure/frmModifyConstructItem.h"

namespace vorlane {

void clsManagefrm::AddConstructItem(const QString &sNodeKey, int nModal, QWidget *oOwnerForm)
{
    const QString tableCode = KeyMiddleSegment(sNodeKey);
    clsHrSysSetDicts sets;
    const bool loaded = sets.Load(QStringLiteral("select * from hr_sys_setdict where ctablecode='")
                                  + services::sqlText(tableCode) + u'\'');
    // Attendance sets get their items from attendance management.
    if (loaded && sets.Count() == 1 && sets.Item(1)->TableGroup().trimmed() == u"5") {
        showMessage(QStringLiteral("考勤类表不能添加信息项"), QStringLiteral("人事信息管理"));
        return;
    }
    frmAddConstructItem *dialog = windowInstance<frmAddConstructItem>();
    dialog->prepare(tableCode);
    showWindow(dialog, nModal, oOwnerForm);
}

void clsManagefrm::ModifyConstructItem(const QString &sTable,
                                       const QVariant &sItemCode,
                                       int nModal,
                                       QWidget *oOwnerForm)
{
    frmModifyConstructItem *dialog = windowInstance<frmModifyConstructItem>();
    dialog->setTableCode(sTable);
    dialog->setItemCode(sItemCode.toString());
    showWindow(dialog, nModal, oOwnerForm);
}

} // namespace vorlane
