#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The vorlane application and the example host, run as a user runs them.
class TestApp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void badCommandLines_data();
    void badCommandLines();
    void emptyDatabaseBecomesAccountAndLogs();
    void screenshotsOfTheThreeBrowsers();
    void exampleHostOpensAWindow();

private:
    struct Run
    {
        int rc = -1;
        QString out;
        QString err;
    };
    Run run(const QString &program, const QStringList &args, bool display = true);

    QTemporaryDir m_dir;
};

TestApp::Run TestApp::run(const QString &program, const QStringList &args, bool display)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
    if (display) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
    }
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

void TestApp::badCommandLines_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("display");
    QTest::addColumn<QString>("message");

    const QString notDb = m_dir.filePath(QStringLiteral("notdb.db"));
    QFile f(notDb);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("plain text, not a database\n");
    f.close();
    const QString other = m_dir.filePath(QStringLiteral("other.db"));
    QProcess::execute(QStringLiteral("sqlite3"), {other, QStringLiteral("create table t (a)")});

    QTest::newRow("unknown option") << QStringList{"--bogus"} << true << "bogus";
    QTest::newRow("unknown window") << QStringList{"--summary", "payroll"} << true << "未知的窗口";
    QTest::newRow("not a database")
        << QStringList{"--summary", "--connect", notDb} << true << "file is not a database";
    QTest::newRow("not an account database")
        << QStringList{"--summary", "--connect", other} << true << "不是账套数据库";
    QTest::newRow("bad business date") << QStringList{"--summary", "--business-date", "2026-13-01"}
                                       << true << "业务日期格式不正确";
    QTest::newRow("log in a missing directory")
        << QStringList{"--summary", "--statement-log", m_dir.filePath("no/dir/s.log")} << true
        << "无法写入语句日志";
    QTest::newRow("no display") << QStringList{"archive"} << false << "没有图形显示";
}

void TestApp::badCommandLines()
{
    QFETCH(QStringList, args);
    QFETCH(bool, display);
    QFETCH(QString, message);
    const Run r = run(QStringLiteral(VORLANE_APP), args, display);
    QVERIFY2(r.rc > 0, qPrintable(QString::number(r.rc) + r.err));
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
}

void TestApp::emptyDatabaseBecomesAccountAndLogs()
{
    const QString db = m_dir.filePath(QStringLiteral("new.db"));
    const QString log = m_dir.filePath(QStringLiteral("statements.log"));
    const Run r = run(
        QStringLiteral(VORLANE_APP),
        {"--summary", "--connect", "sqlite:" + db, "--statement-log", log, "--operator", "demo"});
    QVERIFY2(r.rc == 0, qPrintable(r.err));
    QVERIFY2(r.out.contains(QStringLiteral("信息集 13")), qPrintable(r.out));
    QFile f(log);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(f.readAll()).contains(QStringLiteral("from hr_sys_setdict")));

    // The second run finds an account database and leaves it as it is.
    const Run again = run(QStringLiteral(VORLANE_APP), {"--summary", "--connect", db});
    QCOMPARE(again.rc, 0);
    QVERIFY(!again.out.contains(QStringLiteral("正在创建")));
}

void TestApp::screenshotsOfTheThreeBrowsers()
{
    const QString db = m_dir.filePath(QStringLiteral("shots.db"));
    for (const QString window : {"construct", "archive", "business"}) {
        const QString dir = m_dir.filePath(QStringLiteral("shots-") + window);
        const Run r = run(QStringLiteral(VORLANE_APP),
                          {window, "--connect", "sqlite:" + db, "--screenshot", dir});
        QVERIFY2(r.rc == 0, qPrintable(r.err));
        const QStringList files = QDir(dir).entryList({QStringLiteral("*.png")});
        QCOMPARE(files.size(), 1);
        const QImage image(QDir(dir).filePath(files.first()));
        QVERIFY(image.width() >= 800 && image.height() >= 500);
    }
}

void TestApp::exampleHostOpensAWindow()
{
    const QString db = "sqlite:" + m_dir.filePath(QStringLiteral("host.db"));
    for (const QString window : {"construct", "archive", "set", "item"}) {
        const Run r = run(QStringLiteral(VORLANE_EXAMPLE_HOST), {db, window, "--autoclose"});
        QVERIFY2(r.rc == 0, qPrintable(window + r.err));
    }
    const Run bad = run(QStringLiteral(VORLANE_EXAMPLE_HOST), {db, "payroll"});
    QCOMPARE(bad.rc, 2);
}

QTEST_GUILESS_MAIN(TestApp)
#include "tst_app.moc"
