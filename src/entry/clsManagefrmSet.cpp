// The information set launchers of clsManagefrm.
#include "clsManagefrm.h"

#include "MessageService.h"

#include "common/LauncherWindow.h"
#include "structure/frmAddModifyConstruct.h"

namespace vorlane {

void clsManagefrm::AddConstructG(int nModal, QWidget *oOwnerForm)
{
    Q_UNUSED(nModal);
    Q_UNUSED(oOwnerForm);
}

void clsManagefrm::AddConstruct(const QString &sNodeKey, int nModal, QWidget *oOwnerForm)
{
    // Attendance tables belong to the attendance module.
    if (sNodeKey.toUpper() == u"R5") {
        showMessage(QStringLiteral("不能添加考勤类表"),
                    QStringLiteral("人事信息管理"),
                    MsgIcon::Information);
        return;
    }
    frmAddModifyConstruct *w = windowInstance<frmAddModifyConstruct>();
    w->setEditMode(QStringLiteral("A"));
    w->setNodeKey(sNodeKey);
    showWindow(w, nModal, oOwnerForm);
}

void clsManagefrm::ModifyConstruct(const QString &sTable,
                                   const QString &sNodeKey,
                                   const QString &sSys,
                                   int nModal,
                                   QWidget *oOwnerForm)
{
    frmAddModifyConstruct *w = windowInstance<frmAddModifyConstruct>();
    w->setEditMode(QStringLiteral("M"));
    w->setNodeKey(sNodeKey);
    w->setEditTableCode(sTable);
    w->setEditSysFlag(sSys);
    showWindow(w, nModal, oOwnerForm);
}

} // namespace vorlane
