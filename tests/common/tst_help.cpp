#include "CommonFixture.h"

#include "common/HelpViewer.h"

#include "entry/Defs.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

namespace vorlane::test {

namespace {

void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        if (HelpViewer *viewer = HelpViewer::instance())
            delete viewer;
    }

    void pagesAreUtf8AndLinkOnlyToExistingPages()
    {
        LoginScope login;
        const QDir dir(helpDirectory());
        const QStringList pages = dir.entryList({QStringLiteral("*.html")});
        QVERIFY(pages.size() >= 11);
        static const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+\\.html)"));
        for (const QString &page : pages) {
            QFile file(dir.filePath(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(file.readAll());
            QVERIFY2(html.contains(QStringLiteral("<title>")), qPrintable(page));
            QVERIFY2(html.contains(QStringLiteral("charset=\"utf-8\""))
                         || html.contains(QStringLiteral("charset=utf-8")),
                     qPrintable(page));
            for (const QRegularExpressionMatch &m : link.globalMatch(html))
                QVERIFY2(dir.exists(m.captured(1)), qPrintable(page + u" -> " + m.captured(1)));
        }
    }

    void contextNumbersAndFallbacks()
    {
        LoginScope login;
        QTemporaryDir dir;
        Defs::instance().helpLocation = dir.path() + u'/';
        writeFile(dir.filePath(QStringLiteral("index.html")), "<title>x</title>");
        writeFile(dir.filePath(QStringLiteral("topic.html")), "<title>t</title>");
        writeFile(dir.filePath(QStringLiteral("helpcontexts.txt")),
                  "# number page\n20000101 topic.html\n20000102   gone.html\n");
        QCOMPARE(helpPageFor(20000101, QStringLiteral("frmOther")), QStringLiteral("topic.html"));
        QCOMPARE(helpPageFor(20000102, QStringLiteral("frmOther")), QStringLiteral("index.html"));
        QCOMPARE(helpPageFor(20000103, QStringLiteral("frmOther")), QStringLiteral("index.html"));
        // A window's own page comes first, but only when it exists.
        QCOMPARE(helpPageFor(20000101, QStringLiteral("frmConstructUI")),
                 QStringLiteral("index.html"));
        writeFile(dir.filePath(QStringLiteral("construct.html")), "<title>c</title>");
        QCOMPARE(helpPageFor(20000101, QStringLiteral("frmConstructUI")),
                 QStringLiteral("construct.html"));
    }

    void helpCommandsOpenTheViewerAtTheWindowsPage()
    {
        LoginScope login;
        ProbeFrame frame;
        frame.setObjectName(QStringLiteral("frmArchiveUI"));
        frame.FormLoad();
        frame.findChild<QAction *>(QStringLiteral("mnuHelp1"))->trigger();
        HelpViewer *viewer = HelpViewer::instance();
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->currentPage(), QStringLiteral("archive.html"));
        QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("档案")));

        frame.setObjectName(QStringLiteral("frmSomethingElse"));
        frame.toolbarButton(QStringLiteral("Help"))->trigger();
        QCOMPARE(HelpViewer::instance(), viewer); // one viewer, reused
        // An unknown window is helped by its context number (HR0101 -> 20000101).
        QCOMPARE(viewer->currentPage(), QStringLiteral("construct.html"));
    }

    void f1OpensHelp()
    {
        LoginScope login;
        ProbeFrame frame;
        frame.setObjectName(QStringLiteral("frmConstructUI"));
        frame.FormLoad();
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTest::keyClick(frame.grid(), Qt::Key_F1);
        QTRY_VERIFY(HelpViewer::instance());
        QCOMPARE(HelpViewer::instance()->currentPage(), QStringLiteral("construct.html"));
    }
};

int runHelpTests(int argc, char **argv)
{
    TestHelp test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace vorlane::test

#include "tst_help.moc"
