// A host program in a few lines: how a host that links Vorlane opens its windows.
//
//   vorlane-example-host [sqlite:PATH | odbc:...] [construct|archive|set|item] [--autoclose]
//
// --autoclose closes the window half a second after it is shown, for unattended runs.
//
// The host signs its operator in with its own login object (here the stand-in of src/host), hands
// the login context over through clsLoginMsg, creates clsShowForm (which opens the shared
// connection) and shows a browser or a dialog modally. Destroying clsShowForm closes the
// connection.

#include "common/QtMessageService.h"
#include "entry/clsLoginMsg.h"
#include "entry/clsManagefrm.h"
#include "entry/clsShowForm.h"
#include "host/DemoAccount.h"
#include "host/HostLogin.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

using namespace vorlane;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.removeAll(QStringLiteral("--autoclose")) > 0) {
        auto *closer = new QTimer(&app);
        QObject::connect(closer, &QTimer::timeout, [] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->isVisible())
                    w->close();
        });
        closer->start(500);
    }
    const QString connection
        = args.value(1,
                     QStringLiteral("sqlite:")
                         + QDir::temp().filePath(QStringLiteral("vorlane-example-host.db")));
    const QString window = args.value(2, QStringLiteral("construct"));

    try {
        db::Connection setup; // a new file becomes a demo account database
        setup.Open(connection);
        host::createDemoAccount(setup);
    } catch (const db::DbError &e) {
        QTextStream(stderr) << "无法打开账套数据库：" << e.message() << Qt::endl;
        return 2;
    }

    installWindowServices(); // real message boxes and file dialogs
    std::shared_ptr<host::HostLogin> login
        = host::HostLogin::signIn(connection, QStringLiteral("demo"));
    {
        clsLoginMsg msg; // what a host hands over when it loads the component
        msg.setCLogin(login);
        msg.setZWPub(login);
        msg.setCAccId(login->AccountCode());
        msg.setCAccName(login->AccountName());
        msg.setOptName(login->OperatorName());
        msg.setOperateDate(login->BusinessDate());
        msg.setIsAdmin(login->IsSupervisor());
        msg.setMenuID(QStringLiteral("HR0101"));
        msg.setSYSID(QStringLiteral("HR"));
        msg.setMenueStyleID(1);
    }

    int rc = 0;
    {
        clsShowForm form; // opens the shared connection
        clsManagefrm dialogs;
        if (window == u"construct")
            form.ShowConstructUI(1, nullptr); // returns when the window is closed
        else if (window == u"archive")
            form.ShowArchiveUI(1, nullptr);
        else if (window == u"set")
            dialogs.AddConstruct(QStringLiteral("R1"), 1, nullptr);
        else if (window == u"item")
            dialogs.AddConstructItem(QStringLiteral("CR1^HR_HI_PERSON^"), 1, nullptr);
        else {
            QTextStream(stderr) << "未知的窗口：" << window << Qt::endl;
            rc = 2;
        }
    } // the connection closes here
    login->ReleaseAll();
    return rc;
}
