#include "clsManagefrm.h"

#include "archive/frmAddModiArchiveItem.h"
#include "archive/frmAddModifyArchive.h"
#include "common/LauncherWindow.h"

namespace vorlane {

namespace {

// A dialog already open modeless is loaded again from its new state; showing it modally while it
// is open is refused by showWindow.
template<class Dialog>
void launch(Dialog *dialog, int nModal, QWidget *oOwnerForm)
{
    if (dialog->isVisible() && nModal != 1)
        dialog->FormLoad();
    showWindow(dialog, nModal, oOwnerForm);
}

} // namespace

void clsManagefrm::AddArchive(int nModal, QWidget *oOwnerForm)
{
    auto *dialog = windowInstance<frmAddModifyArchive>();
    dialog->setMode(QStringLiteral("A"));
    launch(dialog, nModal, oOwnerForm);
}

void clsManagefrm::ModifyArchive(const QString &TableCode, int nModal, QWidget *oOwnerForm)
{
    auto *dialog = windowInstance<frmAddModifyArchive>();
    dialog->setMode(QStringLiteral("M"));
    dialog->setTableCode(TableCode);
    launch(dialog, nModal, oOwnerForm);
}

void clsManagefrm::AddArchiveItem(const QString &sNodeKey,
                                  const QString &strTable,
                                  const QString &CodeId,
                                  int nLevel,
                                  int nModal,
                                  QWidget *oOwnerForm)
{
    auto *dialog = windowInstance<frmAddModiArchiveItem>();
    dialog->setMode(QStringLiteral("A"));
    dialog->setTableCode(strTable);
    dialog->setParentCode(CodeId);
    dialog->setParentLevel(nLevel);
    dialog->setParentNodeKey(sNodeKey);
    launch(dialog, nModal, oOwnerForm);
}

void clsManagefrm::ModifyArchiveItem(const QString &TableCode,
                                     const QString &CodeId,
                                     int nModal,
                                     QWidget *oOwnerForm)
{
    auto *dialog = windowInstance<frmAddModiArchiveItem>();
    dialog->setMode(QStringLiteral("M"));
    dialog->setTableCode(TableCode);
    dialog->setParentCode(CodeId);
    launch(dialog, nModal, oOwnerForm);
}

} // namespace vorlane
