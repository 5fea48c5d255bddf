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

using namespace Qt::StringLiterals;

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
        const QStringList pages = dir.entryList({u"*.html"_s});
        QVERIFY(pages.size() >= 11);
        static const QRegularExpression link(u"href=\"([^\"#:]+\\.html)"_s);
        for (const QString &page : pages) {
            QFile file(dir.filePath(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(file.readAll());
            QVERIFY2(html.contains(u"<title>"_s), qPrintable(page));
            QVERIFY2(html.contains(u"charset=\"utf-8\""_s) || html.contains(u"charset=utf-8"_s),
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
        writeFile(dir.filePath(u"index.html"_s), "<title>x</title>");
        writeFile(dir.filePath(u"topic.html"_s), "<title>t</title>");
        writeFile(dir.filePath(u"helpcontexts.txt"_s),
                  "# number page\n20000101 topic.html\n20000102   gone.html\n");
        QCOMPARE(helpPageFor(20000101, u"frmOther"_s), u"topic.html"_s);
        QCOMPARE(helpPageFor(20000102, u"frmOther"_s), u"index.html"_s);
        QCOMPARE(helpPageFor(20000103, u"frmOther"_s), u"index.html"_s);
        // A window's own page comes first, but only when it exists.
        QCOMPARE(helpPageFor(20000101, u"frmConstructUI"_s), u"index.html"_s);
        writeFile(dir.filePath(u"construct.html"_s), "<title>c</title>");
        QCOMPARE(helpPageFor(20000101, u"frmConstructUI"_s), u"construct.html"_s);
    }

    void helpCommandsAndF1OpenTheViewerAtTheWindowsPage()
    {
        LoginScope login;
        ProbeFrame frame;
        frame.setObjectName(u"frmArchiveUI"_s);
        frame.FormLoad();
        frame.findChild<QAction *>(u"mnuHelp1"_s)->trigger();
        HelpViewer *viewer = HelpViewer::instance();
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->currentPage(), u"archive.html"_s);
        QVERIFY(viewer->browser()->toPlainText().contains(u"档案"_s));

        frame.setObjectName(u"frmSomethingElse"_s);
        frame.toolbarButton(u"Help"_s)->trigger();
        QCOMPARE(HelpViewer::instance(), viewer); // one viewer, reused
        // An unknown window is helped by its context number (HR0101 -> 20000101).
        QCOMPARE(viewer->currentPage(), u"construct.html"_s);

        // F1 on a control of the window opens its page too.
        frame.setObjectName(u"frmArchiveUI"_s);
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTest::keyClick(frame.grid(), Qt::Key_F1);
        QTRY_COMPARE(viewer->currentPage(), u"archive.html"_s);
    }
};

int runHelpTests(int argc, char **argv)
{
    TestHelp test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace vorlane::test

#include "tst_help.moc"
