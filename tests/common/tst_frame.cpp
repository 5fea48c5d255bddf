#include "CommonFixture.h"

#include "common/HelpViewer.h"
#include "common/LauncherWindow.h"
#include "common/PrintStyle.h"
#include "common/Twips.h"
#include "common/WindowHelpers.h"

#include "entry/Defs.h"

#include "ScriptedMessages.h"
#include "WindowControls.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace vorlane::test {

using namespace Qt::StringLiterals;

namespace {

// Presses the split bar, drags it by dx pixels in steps with the left button held (each
// mouse position is relative to the bar where it stands then), without releasing it.
void dragSplitBar(BrowserFrame &frame, int dx)
{
    SplitBar *bar = frame.Picture1();
    const QPoint start(0, 10);
    QTest::mousePress(bar, Qt::LeftButton, {}, start);
    const int steps = 4;
    for (int i = 1; i <= steps; ++i) {
        const int step = dx * i / steps - dx * (i - 1) / steps;
        const QPointF local(step, start.y());
        QMouseEvent move(QEvent::MouseMove,
                         local,
                         bar->mapToGlobal(local),
                         Qt::NoButton,
                         Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
    }
}

bool loadAndShow(ProbeFrame &frame, int width = 0)
{
    frame.FormLoad();
    if (width)
        frame.resize(width, 600);
    frame.show();
    return QTest::qWaitForWindowExposed(&frame);
}

} // namespace

class TestFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUpRunsInOrder()
    {
        LoginScope login(1);
        ProbeFrame frame;
        frame.FormLoad();
        // The toolbar style is in force before the data are loaded; the first node click sees
        // the status bar filled already.
        QCOMPARE(frame.log,
                 u"constants|toolbar|data:style=1|click:R1:账套：[001]星桥示范企业"_s.split(u'|'));

        frame.FormLoad(); // only once
        QCOMPARE(frame.log.size(), 4);

        // Applying style 1 again changes nothing.
        QToolButton *first = frame.CTBCtrl1()->button(u"Find"_s);
        frame.CTBCtrl1()->setSpecialEffect(false);
        ApplyToolbarStyle(&frame);
        QVERIFY(!frame.CTBCtrl1()->SpecialEffect());
        QCOMPARE(frame.CTBCtrl1()->button(u"Find"_s), first);
    }

    void statusBarHasFivePanels()
    {
        // The texts are the status bar texts' own; the start-up case reads Panel1.
        LoginScope login;
        QStatusBar bar;
        ShowStatusBar(&bar);
        ShowStatusBar(&bar); // refilled, not doubled
        const QList<QLabel *> panels = bar.findChildren<QLabel *>();
        QCOMPARE(panels.size(), 5);
        auto panel = [&bar](int i) { return bar.findChild<QLabel *>(u"Panel%1"_s.arg(i)); };
        QCOMPARE(panel(4)->text(), QString());
        // A panel is as wide as given unless its text needs more.
        QCOMPARE(panel(4)->width(), 40);
        for (int i = 2; i <= 5; ++i)
            QVERIFY(panel(i)->contentsRect().width()
                    >= panel(i)->fontMetrics().horizontalAdvance(panel(i)->text()));
    }

    void arrangeControlsPlacesThePanes()
    {
        LoginScope login;
        ProbeFrame frame;
        QVERIFY(loadAndShow(frame, 900));

        QWidget *canvas = frame.canvas();
        const int p = frame.pixelTwips();
        QVERIFY(frame.Tree()->y() > frame.CTBCtrl1()->y() + frame.CTBCtrl1()->height());
        QCOMPARE(pixelsToTwipsX(&frame, frame.Tree()->x()), 15);
        QCOMPARE(frame.Picture1()->x(), frame.Tree()->x() + frame.Tree()->width());
        QCOMPARE(frame.grid()->x(), frame.Picture1()->x() + frame.Picture1()->width());
        QCOMPARE(frame.grid()->y(), frame.Tree()->y());
        QCOMPARE(frame.grid()->height(), frame.Tree()->height());
        QVERIFY(frame.Tree()->y() + frame.Tree()->height() <= canvas->height());
        const int rightMargin
            = pixelsToTwipsX(&frame, canvas->width() - frame.grid()->x() - frame.grid()->width());
        QVERIFY(qAbs(rightMargin - (p + 115)) <= 15);

        // Only the grid absorbs a change of the window width.
        const int treeWidth = frame.Tree()->width();
        const int gridWidth = frame.grid()->width();
        frame.resize(1100, 600);
        QTRY_COMPARE(frame.grid()->width(), gridWidth + 200);
        QCOMPARE(frame.Tree()->width(), treeWidth);

        // The window keeps its minimum size.
        frame.resize(100, 50);
        QTRY_COMPARE(frame.width(), twipsToPixelsX(&frame, 4000));
        QCOMPARE(frame.height(), twipsToPixelsY(&frame, 2000));
    }

    void splitBarStopsAtItsLimits_data()
    {
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<int>("targetTwips");
        QTest::addColumn<int>("limitTwips"); // 0: the bar follows the mouse
        QTest::newRow("just below the minimum") << 1300 << 780 << 800;
        QTest::newRow("inside") << 1300 << 4500 << 0;
        QTest::newRow("far right") << 1300 << 15000 << 9000;
        // 9000 twips wide: no room right of a bar at 9000.
        QTest::newRow("far right, no room") << 600 << 15000 << 9000;
    }

    void splitBarStopsAtItsLimits()
    {
        QFETCH(int, windowWidth);
        QFETCH(int, targetTwips);
        QFETCH(int, limitTwips);
        LoginScope login;
        ProbeFrame frame;
        QVERIFY(loadAndShow(frame, windowWidth));

        const int treeWidth = frame.Tree()->width();
        const int gridLeft = frame.grid()->x();
        const int gridWidth = frame.grid()->width();
        const int startTwips = frame.splitBarLeftTwips();
        const int dx = twipsToPixelsX(&frame, targetTwips - startTwips);
        const int expected = limitTwips ? limitTwips : startTwips + pixelsToTwipsX(&frame, dx);
        dragSplitBar(frame, dx);

        QCOMPARE(frame.splitBarLeftTwips(), expected);
        QCOMPARE(frame.Picture1()->x(), twipsToPixelsX(&frame, expected));
        // Dark while dragged; tree and grid wait for the release.
        QCOMPARE(frame.Picture1()->palette().color(QPalette::Window),
                 frame.palette().color(QPalette::Dark));
        QCOMPARE(frame.Tree()->width(), treeWidth);
        QCOMPARE(frame.grid()->x(), gridLeft);

        QTest::mouseRelease(frame.Picture1(), Qt::LeftButton, {}, QPoint(0, 10));
        QCOMPARE(frame.Picture1()->palette().color(QPalette::Window),
                 frame.palette().color(QPalette::Window));
        QCOMPARE(frame.treeWidthTwips(), expected - 15);
        QVERIFY(qAbs(frame.Tree()->x() + frame.Tree()->width() - frame.Picture1()->x()) <= 1);
        QVERIFY(qAbs(frame.grid()->x() - frame.Picture1()->x() - frame.Picture1()->width()) <= 1);
        if (windowWidth == 600) { // the grid keeps its width rather than shrink below nothing
            QCOMPARE(frame.grid()->width(), gridWidth);
            return;
        }
        const int rightMargin = pixelsToTwipsX(
            &frame, frame.canvas()->width() - frame.grid()->x() - frame.grid()->width());
        QVERIFY2(qAbs(rightMargin - 220) <= 30, qPrintable(QString::number(rightMargin)));

        // A new layout pass keeps the width the user gave the tree.
        frame.resize(1250, 600);
        QTRY_COMPARE(frame.treeWidthTwips(), expected - 15);
        QCOMPARE(frame.splitBarLeftTwips(), expected);
    }

    void toolbarStyles_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("bandShown");
        QTest::addColumn<bool>("toolbarShown");
        QTest::addColumn<bool>("separatorShown");
        QTest::addColumn<int>("bandStyle");
        QTest::newRow("host band") << 1 << true << false << true << 1;
        QTest::newRow("own toolbar") << 2 << false << true << true << 2;
        QTest::newRow("unknown style") << 7 << false << true << false << 0;
    }

    void toolbarStyles()
    {
        QFETCH(int, style);
        QFETCH(bool, bandShown);
        QFETCH(bool, toolbarShown);
        QFETCH(bool, separatorShown);
        QFETCH(int, bandStyle);
        LoginScope login(style);
        ProbeFrame frame;
        QVERIFY(loadAndShow(frame));

        QCOMPARE(frame.CTBCtrl1()->isVisible(), bandShown);
        QCOMPARE(frame.Toolbar1()->isVisible(), toolbarShown);
        QCOMPARE(frame.fraSep()->isVisible(), separatorShown);
        QCOMPARE(frame.CTBCtrl1()->GetToolbarStyle(), bandStyle);
        QCOMPARE(frame.CTBCtrl1()->y(), 0);
        if (style == 1) {
            QVERIFY(frame.CTBCtrl1()->SpecialEffect());
            QCOMPARE(frame.CTBCtrl1()->buttonKeys().join(u'|'), u"Add|Find|Help|Exit"_s);
            QVERIFY(frame.CTBCtrl1()->button(u"Add"_s)->menu());
        }
        if (separatorShown) // under the toolbar
            QCOMPARE(frame.fraSep()->y(), frame.Toolbar1()->y() + frame.Toolbar1()->height());
        // Either look leaves the panes below the toolbar area.
        QVERIFY(frame.Tree()->y() >= frame.Toolbar1()->height());
    }

    void hostBandClicksReachTheWindowHandlers()
    {
        LoginScope login(1);
        ProbeFrame frame;
        QVERIFY(loadAndShow(frame));
        frame.clearLog();

        frame.disableOnClick = u"Add"_s;
        QTest::mouseClick(frame.CTBCtrl1()->button(u"Find"_s), Qt::LeftButton);
        QCOMPARE(frame.log, QStringList{u"button:Find"_s});
        // The band re-reads the toolbar after the click.
        QVERIFY(!frame.CTBCtrl1()->button(u"Add"_s)->isEnabled());

        QMenu *menu = frame.CTBCtrl1()->button(u"Add"_s)->menu();
        menu->findChild<QAction *>(u"ADDX"_s)->trigger();
        QCOMPARE(frame.log.last(), u"menu:Add/ADDX"_s);

        QTest::mouseClick(frame.CTBCtrl1()->button(u"Exit"_s), Qt::LeftButton);
        QTRY_VERIFY(!frame.isVisible());
        QCOMPARE(frame.log.last(), u"unload"_s);
    }

    void ownToolbarRoutesButtonsAndMenuEntries()
    {
        LoginScope login(2);
        ProbeFrame frame;
        frame.FormLoad();
        frame.clearLog();
        frame.toolbarButton(u"Add"_s)->trigger();
        frame.buttonMenuEntry(u"Add"_s, u"ADDL"_s)->trigger();
        frame.CTBCtrl1_ButtonClick(u"Add"_s, u"ADDX"_s);
        QCOMPARE(frame.log, (QStringList{u"button:Add"_s, u"menu:Add/ADDL"_s, u"menu:Add/ADDX"_s}));
        QCOMPARE(control<QToolButton>(frame.Toolbar1(), "Add")->popupMode(),
                 QToolButton::MenuButtonPopup);
    }

    void keysInTreeAndGrid()
    {
        LoginScope login;
        ProbeFrame frame;
        frame.FormLoad();
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        frame.Tree()->setFocus();
        frame.clearLog();

        QTest::keyClick(frame.Tree(), Qt::Key_Down);
        QCOMPARE(frame.log, QStringList{u"click:C1:账套：[001]星桥示范企业"_s});
        frame.clearLog();
        QTest::keyClick(frame.Tree(), Qt::Key_Return);
        QCOMPARE(frame.log, (QStringList{u"click:C1:账套：[001]星桥示范企业"_s, u"treeDbl"_s}));
        frame.clearLog();
        QTest::keyClick(frame.Tree(), Qt::Key_Up);
        QCOMPARE(frame.log, QStringList{u"click:R1:账套：[001]星桥示范企业"_s});

        // F3 and Ctrl+F4 reach the window before its controls. Return on the grid is the grid's
        // double click, which the browsers' tests send.
        frame.clearLog();
        frame.grid()->setFocus();
        QTest::keyClick(frame.grid(), Qt::Key_F3);
        frame.Tree()->setFocus();
        QTest::keyClick(frame.Tree(), Qt::Key_F3);
        QCOMPARE(frame.log, (QStringList{u"findNext"_s, u"findNext"_s}));

        QTest::keyClick(frame.Tree(), Qt::Key_F4); // without Ctrl: nothing
        QVERIFY(frame.isVisible());
        QTest::keyClick(frame.grid(), Qt::Key_F4, Qt::ControlModifier);
        QTRY_VERIFY(!frame.isVisible());
        QCOMPARE(frame.log.last(), u"unload"_s);
        frame.close();
        QCOMPARE(frame.log.count(u"unload"_s), 1);
    }

    void mouseClicksOnThePanes()
    {
        LoginScope login;
        ProbeFrame frame;
        QVERIFY(loadAndShow(frame));
        frame.clearLog();
        QTreeWidgetItem *item = frame.Tree()->Node(u"C2"_s);
        const QRect rect = frame.Tree()->visualItemRect(item);
        QTest::mouseClick(frame.Tree()->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(frame.log, QStringList{u"click:C2:账套：[001]星桥示范企业"_s});

        // The right button leaves the selection where it was.
        frame.clearLog();
        const QRect first = frame.Tree()->visualItemRect(frame.Tree()->Node(u"C1"_s));
        QTest::mouseClick(frame.Tree()->viewport(), Qt::RightButton, {}, first.center());
        QCOMPARE(frame.Tree()->SelectedKey(), u"C2"_s);
        QVERIFY(!frame.log.contains(u"click:C1:账套：[001]星桥示范企业"_s));
    }

    void treeKeepsKeysAndIndexOrder()
    {
        NodeTree tree;
        QVERIFY(tree.AddNode({}, u"R1"_s, u"人员类"_s, 1, 1));
        QVERIFY(tree.AddNode({}, u"R2"_s, u"部门类"_s, 1, 1));
        QVERIFY(tree.AddNode(u"R1"_s, u"CR1^A01^"_s, u"基本"_s, 2, 3));
        QVERIFY(!tree.AddNode(u"R1"_s, u"R2"_s, u"dup"_s));
        QVERIFY(!tree.AddNode(u"R9"_s, u"X"_s, u"orphan"_s));
        QCOMPARE(tree.NodeCount(), 3);
        QCOMPARE(NodeTree::Key(tree.Nodes().at(2)), u"CR1^A01^"_s);
        // Removing takes the children along.
        QVERIFY(tree.RemoveNode(u"R1"_s));
        QCOMPARE(tree.NodeCount(), 1);
        QVERIFY(!tree.Exists(u"CR1^A01^"_s));
    }

    void modalShowReturnsOnCloseAndTheNextShowStartsUpAgain()
    {
        LoginScope login;
        QWidget owner;
        ProbeFrame frame;
        frame.setAttribute(Qt::WA_DeleteOnClose, false);
        qsizetype buttons = 0;
        for (int round = 0; round < 2; ++round) {
            frame.clearLog();
            QTimer::singleShot(0, &frame, [&frame] { frame.close(); });
            showWindow(&frame, 1, &owner);
            QVERIFY(!frame.isVisible());
            QCOMPARE(frame.parentWidget(), &owner);
            QVERIFY(frame.isWindow());
            // The toolbar is built once; the rest of the start-up runs on every show.
            QCOMPARE(frame.log.join(u'|'),
                     (round == 0 ? u"constants|toolbar|"_s : u"constants|"_s)
                         + u"data:style=2|click:R1:账套：[001]星桥示范企业|unload"_s);
            if (round == 0)
                buttons = frame.Toolbar1()->findChildren<QToolButton *>().size();
        }
        QCOMPARE(frame.Toolbar1()->findChildren<QToolButton *>().size(), buttons);
    }

    void handlerErrorsAndInertButtons()
    {
        LoginScope login;
        MessageScope messages;
        ProbeFrame frame;
        const QStringList handlers{u"click"_s, u"button"_s, u"menu"_s, u"findNext"_s};
        frame.failing = QSet<QString>(handlers.begin(), handlers.end());
        frame.show(); // the first show's start-up ends in the failing node click
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.Toolbar1_ButtonClick(u"Find"_s);
        frame.buttonMenuEntry(u"Add"_s, u"ADDL"_s)->trigger();
        frame.findChild<QAction *>(u"keyFindNext"_s)->trigger();
        QCOMPARE(messages->shown.size(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(messages->shown[i].text, u"无效的列名 " + handlers[i]);
        QCOMPARE(messages->shown[0].title, u"人事信息管理"_s);
        QVERIFY(frame.isVisible());
        frame.failing.clear();
        frame.Toolbar1_ButtonClick(u"Find"_s);
        QCOMPARE(frame.log.last(), u"button:Find"_s);

        // Buttons the window keeps inert do nothing, "退出" and "帮助" included.
        frame.inert = {u"Exit"_s, u"Help"_s, u"Find"_s};
        frame.clearLog();
        if (HelpViewer::instance())
            HelpViewer::instance()->close();
        frame.Toolbar1_ButtonClick(u"Help"_s);
        frame.Toolbar1_ButtonClick(u"Exit"_s);
        frame.findChild<QAction *>(u"mnuExit"_s)->trigger();
        frame.Toolbar1_ButtonClick(u"Find"_s);
        QVERIFY(frame.isVisible());
        QVERIFY(frame.log.isEmpty());
        QVERIFY(!HelpViewer::instance() || !HelpViewer::instance()->isVisible());
        frame.inert.clear();
        frame.findChild<QAction *>(u"mnuExit"_s)->trigger();
        QVERIFY(!frame.isVisible());
    }

    void printStylesFirstUnderTheHostsInstallPath()
    {
        QTemporaryDir host;
        const QString own = sourceDir();
        QCOMPARE(printStyleDirectory(host.path(), own), own + u"/share/printstyle/"_s);
        QVERIFY(QDir(host.path()).mkdir(u"printstyle"_s));
        QVERIFY(QFile::copy(own + u"/share/printstyle/BudgetStyle.xml"_s,
                            host.path() + u"/printstyle/BudgetStyle.xml"_s));
        QCOMPARE(printStyleDirectory(host.path(), own), host.path() + u"/printstyle/"_s);

        LoginScope login;
        login.login().installPath = host.path();
        ProbeFrame frame;
        frame.FormLoad();
        QCOMPARE(frame.PrintStylePath, host.path() + u"/printstyle/"_s);
    }
};

int runFrameTests(int argc, char **argv)
{
    TestFrame test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace vorlane::test

#include "tst_frame.moc"
