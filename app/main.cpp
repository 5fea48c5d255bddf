#include "AccountSummary.h"

#include "Windows.h"

#include "common/QtMessageService.h"

#include "db/Connection.h"
#include "entry/Defs.h"
#include "entry/clsLoginMsg.h"
#include "entry/clsShowForm.h"
#include "host/DemoAccount.h"
#include "host/HostLogin.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

#include <cstdio>

using namespace vorlane;

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

QString defaultDemoPath()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                        + QStringLiteral("/vorlane");
    QDir().mkpath(dir);
    return dir + QStringLiteral("/demo-account.db");
}

// The demo account database is created on first run; later runs find it complete and change
// nothing.
void ensureDemoAccount(const QString &connectionString)
{
    db::Connection conn;
    conn.Open(connectionString);
    host::createDemoAccount(conn);
    conn.Close();
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// Help, version and the summary need no display; a screenshot is drawn off screen when there is
// none. Without a display anything else gets an application without windows, so that the command
// line is still checked and the user is told what to do.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv)
{
    bool screenshot = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h" || arg == "--version" || arg == "-v"
            || arg == "--summary" || arg == "--mssql-script" || arg.startsWith("--mssql-script="))
            return std::make_unique<QCoreApplication>(argc, argv);
        screenshot = screenshot || arg == "--screenshot" || arg.startsWith("--screenshot=");
    }
    if (!hasDisplay()) {
        if (!screenshot)
            return std::make_unique<QCoreApplication>(argc, argv);
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return std::make_unique<QApplication>(argc, argv);
}

// An account database has the dictionary tables (its host tables are brought up to date); an
// empty database (a new file, an empty server database) becomes a demo account database.
// Anything else is refused with a message.
bool prepareAccountDatabase(const QString &connectionString)
{
    db::Connection conn;
    conn.Open(connectionString);
    if (host::isAccountDatabase(conn)) {
        host::upgradeAccount(conn);
        return true;
    }
    if (!host::isEmptyDatabase(conn)) {
        err() << "不是账套数据库（没有数据字典表 hr_sys_setdict）：" << connectionString
              << Qt::endl;
        return false;
    }
    out() << "空数据库，正在创建演示账套……" << Qt::endl;
    host::createDemoAccount(conn);
    return true;
}

// UTF-8 without a byte order mark, "\n" line ends: the checked-in script is compared byte for byte.
int writeScript(const QString &path)
{
    const QByteArray script = host::demoAccountScript().toUtf8();
    if (path == QStringLiteral("-")) {
        std::fwrite(script.constData(), 1, size_t(script.size()), stdout);
        return 0;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size() || !file.commit()) {
        err() << "无法写入脚本文件：" << path << Qt::endl;
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    auto application = makeApplication(argc, argv);
    QCoreApplication &app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("vorlane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("0.1.0"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vorlane 人事信息管理：信息集结构与档案维护"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption connectOpt(
        QStringLiteral("connect"),
        QStringLiteral("Account database: sqlite:PATH, a .db path, or odbc:<connection string>. "
                       "Default: the demo account database, created on first run."),
        QStringLiteral("connection"));
    const QCommandLineOption operatorOpt(QStringLiteral("operator"),
                                         QStringLiteral("Operator code to sign in (default demo)."),
                                         QStringLiteral("code"),
                                         QStringLiteral("demo"));
    const QCommandLineOption dateOpt(QStringLiteral("business-date"),
                                     QStringLiteral("Business date, yyyy-MM-dd (default today)."),
                                     QStringLiteral("date"));
    const QCommandLineOption adminOpt(QStringLiteral("supervisor"),
                                      QStringLiteral("Hand over the supervisor flag (IsAdmin)."));
    const QCommandLineOption hmjzOpt(QStringLiteral("carried-forward"),
                                     QStringLiteral("Personnel data carried forward (HMJZ)."));
    const QCommandLineOption optFlagOpt(QStringLiteral("opt-flag"),
                                        QStringLiteral("Operation flag (OptFlag), default 0."),
                                        QStringLiteral("n"),
                                        QStringLiteral("0"));
    const QCommandLineOption styleOpt(QStringLiteral("toolbar-style"),
                                      QStringLiteral("Toolbar style (MenueStyleID): 1 or 2."),
                                      QStringLiteral("n"),
                                      QStringLiteral("1"));
    const QCommandLineOption userOpt(QStringLiteral("user-id"),
                                     QStringLiteral("Host user id (UserId)."),
                                     QStringLiteral("id"));
    const QCommandLineOption dbNameOpt(QStringLiteral("db-name"),
                                       QStringLiteral("Account database name as the host names it "
                                                      "(DbName), e.g. vorlane_001."),
                                       QStringLiteral("name"));
    const QCommandLineOption dbIpOpt(QStringLiteral("db-ip"),
                                     QStringLiteral("Database server address as the host names it "
                                                    "(DbIp)."),
                                     QStringLiteral("address"));
    const QCommandLineOption demoOpt(QStringLiteral("demo-exe"),
                                     QStringLiteral("Hand over the demonstration flag (DemoExe)."));
    const QCommandLineOption sysOpt(QStringLiteral("sys-id"),
                                    QStringLiteral("Host subsystem (SYSID), default HR."),
                                    QStringLiteral("id"),
                                    QStringLiteral("HR"));
    const QCommandLineOption menuOpt(QStringLiteral("menu-id"),
                                     QStringLiteral("Host menu entry (MenuID), default HR0101."),
                                     QStringLiteral("id"),
                                     QStringLiteral("HR0101"));
    const QCommandLineOption installOpt(QStringLiteral("install-path"),
                                        QStringLiteral("Directory that holds share/."),
                                        QStringLiteral("dir"));
    const QCommandLineOption summaryOpt(QStringLiteral("summary"),
                                        QStringLiteral("Print the account summary and exit."));
    const QCommandLineOption screenshotOpt(
        QStringLiteral("screenshot"),
        QStringLiteral("Show the window, save a picture of it into the directory, and exit "
                       "(for machines without a display)."),
        QStringLiteral("dir"));
    const QCommandLineOption logOpt(
        QStringLiteral("statement-log"),
        QStringLiteral("Append every statement run on the account database to FILE (also set by "
                       "the environment variable VORLANE_STATEMENT_LOG)."),
        QStringLiteral("file"));
    const QCommandLineOption scriptOpt(
        QStringLiteral("mssql-script"),
        QStringLiteral(
            "Write the T-SQL script that creates the demo account database on SQL Server "
            "to FILE (- for standard output) and exit."),
        QStringLiteral("file"));
    parser.addOptions({connectOpt,
                       logOpt,
                       operatorOpt,
                       dateOpt,
                       adminOpt,
                       hmjzOpt,
                       optFlagOpt,
                       styleOpt,
                       menuOpt,
                       sysOpt,
                       userOpt,
                       dbNameOpt,
                       dbIpOpt,
                       demoOpt,
                       installOpt,
                       summaryOpt,
                       screenshotOpt,
                       scriptOpt});
    parser.addPositionalArgument(
        QStringLiteral("window"),
        QStringLiteral("Window to open: construct (the structure browser, the default), archive "
                       "(the archive browser) or business (business customization)."),
        QStringLiteral("[construct|archive|business]"));
    parser.process(app);
    const QStringList windows = parser.positionalArguments();
    if (windows.size() > 1
        || (windows.size() == 1 && !app::windowNames().contains(windows.first()))) {
        err() << "未知的窗口：" << windows.join(u' ') << "（可用："
              << app::windowNames().join(u'、') << "）" << Qt::endl;
        return 2;
    }
    const QString window = windows.value(0, QStringLiteral("construct"));
    if (parser.isSet(scriptOpt))
        return writeScript(parser.value(scriptOpt));
    if (!parser.isSet(summaryOpt) && !qobject_cast<QApplication *>(&app)) {
        err() << "没有图形显示：请在桌面中运行，或用 scripts/run.sh（自动使用虚拟显示），"
                 "或加 --screenshot 目录 保存窗口截图，或加 --summary 只看账套摘要。"
              << Qt::endl;
        return 2;
    }

    if (parser.isSet(logOpt)) {
        const QString logPath = QFileInfo(parser.value(logOpt)).absoluteFilePath();
        if (!db::StatementLogFile(logPath).isOpen()) {
            err() << "无法写入语句日志：" << logPath << Qt::endl;
            return 2;
        }
        // Every connection of the process, the host's own included, logs to it.
        qputenv("VORLANE_STATEMENT_LOG", logPath.toLocal8Bit());
    }

    QString connectionString = parser.value(connectOpt);
    try {
        if (connectionString.isEmpty()) {
            connectionString = QStringLiteral("sqlite:") + defaultDemoPath();
            ensureDemoAccount(connectionString);
        } else if (!prepareAccountDatabase(connectionString)) {
            return 2;
        }
    } catch (const db::DbError &e) {
        err() << "无法打开账套数据库：" << e.message() << Qt::endl;
        return 2;
    }

    QDate businessDate;
    if (parser.isSet(dateOpt)) {
        businessDate = QDate::fromString(parser.value(dateOpt), Qt::ISODate);
        if (!businessDate.isValid()) {
            err() << "业务日期格式不正确（应为 yyyy-MM-dd）：" << parser.value(dateOpt) << Qt::endl;
            return 2;
        }
    }
    bool ok = false;
    const qint16 optFlag = qint16(parser.value(optFlagOpt).toShort(&ok));
    const qint16 style = ok ? qint16(parser.value(styleOpt).toShort(&ok)) : 0;
    if (!ok) {
        err() << "--opt-flag 与 --toolbar-style 需要整数" << Qt::endl;
        return 2;
    }

    std::shared_ptr<host::HostLogin> login;
    try {
        login = host::HostLogin::signIn(
            connectionString, parser.value(operatorOpt), businessDate, parser.value(installOpt));
    } catch (const db::DbError &e) {
        err() << "登录失败：" << e.message() << Qt::endl;
        return 2;
    }

    // Hand the login context over exactly as a host does.
    clsLoginMsg msg;
    msg.setCLogin(login);
    msg.setZWPub(login);
    msg.setCAccId(login->AccountCode());
    msg.setCAccName(login->AccountName());
    msg.setOptId(login->OperatorCode());
    msg.setOptName(login->OperatorName());
    msg.setOperateDate(login->BusinessDate());
    msg.setIsAdmin(parser.isSet(adminOpt) || login->IsSupervisor());
    msg.setDemoExe(parser.isSet(demoOpt));
    msg.setUserId(parser.value(userOpt));
    msg.setDbName(parser.value(dbNameOpt));
    msg.setDbIp(parser.value(dbIpOpt));
    msg.setCurrentPath(login->InstallPath());
    msg.setHMJZ(parser.isSet(hmjzOpt));
    msg.setOptFlag(optFlag);
    msg.setMenueStyleID(style);
    msg.setMenuID(parser.value(menuOpt));
    msg.setSYSID(parser.value(sysOpt));

    auto form = std::make_unique<clsShowForm>();
    auto &defs = Defs::instance();
    if (!defs.connection || defs.connection->State() != db::adStateOpen)
        return 1; // the user has been told through the message service

    try {
        const auto s = app::summarize(*defs.connection);
        out() << "账套：[" << login->AccountCode() << "]" << login->AccountName() << Qt::endl
              << "操作员：" << login->OperatorName() << (msg.IsAdmin() ? "(账套主管)" : "")
              << Qt::endl
              << "业务日期：" << login->BusinessDate().toString(QStringLiteral("yyyy-MM-dd"))
              << Qt::endl
              << "数据库：" << connectionString << Qt::endl
              << "表组 " << s.groups << "，信息集 " << s.sets << "，信息项 " << s.items
              << "，档案类 " << s.codeTables << Qt::endl;
    } catch (const db::DbError &e) {
        err() << "读取数据字典失败：" << e.message() << Qt::endl;
        return 1;
    }
    out().flush();

    int rc = 0;
    if (!parser.isSet(summaryOpt)) {
        installWindowServices();
        rc = app::showBrowser(*form, window, parser.value(screenshotOpt));
    }

    form.reset();
    login->ReleaseAll();
    defs.reset(); // the login object goes before static objects are torn down
    return rc;
}
