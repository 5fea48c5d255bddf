#include "Windows.h"

#include "archive/ArchiveTree.h"
#include "archive/frmArchiveUI.h"
#include "business/frmOperationFlowUI.h"
#include "common/LauncherWindow.h"
#include "common/NodeTree.h"
#include "entry/clsShowForm.h"
#include "structure/frmConstructUI.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QPointer>
#include <QTextStream>
#include <QTimer>

namespace vorlane::app {

namespace {

// Saves a picture of the shown window into the directory once it has been painted.
int saveScreenshot(QWidget *window, const QString &name, const QString &screenshotDir)
{
    QDir().mkpath(screenshotDir);
    const QString file = QDir(screenshotDir)
                             .filePath(QStringLiteral("vorlane-%1-%2.png")
                                           .arg(name,
                                                QDateTime::currentDateTime().toString(
                                                    QStringLiteral("yyyyMMdd-HHmmss"))));
    QPointer<QWidget> guard(window);
    bool saved = false;
    QTimer::singleShot(800, [&] {
        saved = guard && guard->grab().save(file);
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    if (guard)
        guard->close();
    if (!saved) {
        QTextStream(stderr) << "无法保存截图：" << file << Qt::endl;
        return 1;
    }
    QTextStream(stdout) << "截图已保存：" << file << Qt::endl;
    return 0;
}

// The first information set that has items, with its item list.
void prepareStructure(frmConstructUI *window)
{
    for (QTreeWidgetItem *node : window->Tree()->Nodes()) {
        if (!NodeTree::Key(node).startsWith(u'C'))
            continue;
        window->Tree()->selectNode(node);
        window->TreeClick();
        if (window->gridRows() > 2)
            return;
    }
}

// The administrative divisions with one province expanded.
void prepareArchive(frmArchiveUI *window)
{
    NodeTree *tree = window->Tree();
    for (QTreeWidgetItem *node : tree->Nodes()) {
        if (archive::tableCodeOfKey(NodeTree::Key(node)) != u"HR_CT006")
            continue;
        tree->selectNode(node);
        window->ShowSelectedNode();
        node->setExpanded(true);
        if (QTreeWidgetItem *province = tree->Node(
                archive::codeNodeKey(QStringLiteral("HR_CT006"), QStringLiteral("33"), 0))) {
            tree->selectNode(province);
            window->ShowSelectedNode();
            province->setExpanded(true);
        }
        return;
    }
}

} // namespace

QStringList windowNames()
{
    return {QStringLiteral("construct"), QStringLiteral("archive"), QStringLiteral("business")};
}

int showBrowser(clsShowForm &form, const QString &window, const QString &screenshotDir)
{
    const int modal = screenshotDir.isEmpty() ? 1 : 0;
    BrowserFrame *shown = nullptr;
    if (window == u"archive") {
        form.ShowArchiveUI(modal, nullptr);
        shown = existingWindowInstance<frmArchiveUI>();
        if (!modal)
            prepareArchive(static_cast<frmArchiveUI *>(shown));
    } else if (window == u"business") {
        // A host reaches it through the structure browser's "业务定制"; here it opens directly.
        shown = windowInstance<frmOperationFlowUI>();
        showWindow(shown, modal, nullptr);
    } else {
        form.ShowConstructUI(modal, nullptr);
        shown = existingWindowInstance<frmConstructUI>();
        if (!modal)
            prepareStructure(static_cast<frmConstructUI *>(shown));
    }
    if (modal)
        return 0;
    if (!shown)
        return 1;
    shown->resize(1200, 720);
    return saveScreenshot(
        shown, window.isEmpty() ? QStringLiteral("construct") : window, screenshotDir);
}

} // namespace vorlane::app
