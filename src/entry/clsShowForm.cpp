#include "clsShowForm.h"

#include "Defs.h"
#include "MessageService.h"

#include "archive/frmArchiveUI.h"
#include "common/LauncherWindow.h"
#include "structure/frmConstructUI.h"

namespace vorlane {

clsShowForm::clsShowForm()
{
    Defs &defs = Defs::instance();
    m_connectionString = defs.login().ConnectionString();

    // A second entry object replaces the connection of the first one.
    defs.connection = std::make_shared<db::Connection>();
    try {
        defs.connection->Open(m_connectionString, QString(), QString());
    } catch (const std::exception &) {
        showMessage(
            QStringLiteral("与数据库建立连接失败"), QStringLiteral("操作提示"), MsgIcon::Critical);
    }
}

clsShowForm::~clsShowForm()
{
    Defs &defs = Defs::instance();
    try {
        if (defs.connection && defs.connection->State() == db::adStateOpen)
            defs.connection->Close();
    } catch (...) {
        // The connection goes away regardless; a failing close has nobody to tell.
    }
    defs.connection.reset();
}

void clsShowForm::ShowArchiveUI(int nModal, QWidget *oOwnerForm)
{
    showWindow(windowInstance<frmArchiveUI>(), nModal, oOwnerForm);
}

void clsShowForm::ShowConstructUI(int nModal, QWidget *oOwnerForm)
{
    showWindow(windowInstance<frmConstructUI>(), nModal, oOwnerForm);
}

} // namespace vorlane
