#include "CommonFixture.h"

#include "db/DbError.h"
#include "entry/Defs.h"

#include <QLabel>
#include <QMenu>
#include <QStatusBar>

namespace vorlane::test {

QString sourceDir()
{
    return qEnvironmentVariable("VORLANE_SOURCE_DIR");
}

LoginScope::LoginScope(int toolbarStyle)
    : m_login(std::make_shared<FakeLogin>())
{
    m_login->installPath = sourceDir();
    m_login->operatorName = QStringLiteral("李四");
    Defs &defs = Defs::instance();
    defs.reset();
    defs.cLogin = m_login;
    defs.helpLocation = helpLocationFor(m_login->installPath);
    defs.MenuID = QStringLiteral("HR0101");
    defs.SYSID = QStringLiteral("HR");
    defs.MenueStyleID = qint16(toolbarStyle);
}

LoginScope::~LoginScope()
{
    Defs::instance().reset();
}

ProbeFrame::ProbeFrame(QWidget *parent)
    : BrowserFrame(parent)
{
    setObjectName(QStringLiteral("frmProbe"));
}

void ProbeFrame::storeGridConstants()
{
    log << QStringLiteral("constants");
    DefaultColWidth = 1500;
}

void ProbeFrame::buildToolbarAndMenus()
{
    log << QStringLiteral("toolbar");
    addToolbarButton(QStringLiteral("Add"),
                     QStringLiteral("增加"),
                     QStringLiteral("增加"),
                     {{QStringLiteral("ADDL"), QStringLiteral("新增信息集")},
                      {QStringLiteral("ADDX"), QStringLiteral("新增信息项")}});
    addToolbarButton(QStringLiteral("Find"), QStringLiteral("定位"), QStringLiteral("定位"));
    addToolbarButton(QStringLiteral("Help"), QStringLiteral("帮助"), QStringLiteral("帮助"));
    addToolbarButton(QStringLiteral("Exit"), QStringLiteral("退出"), QStringLiteral("退出"));
    addFileMenu(QStringLiteral("退出(&Q)"));
    QMenu *operations = addMenu(QStringLiteral("mnuOperator"), QStringLiteral("操作(&O)"));
    addMenuAction(operations, QStringLiteral("mnuFind"), QStringLiteral("定位(&F)"), {});
    setOperationMenu(operations);
    addHelpMenu();
}

void ProbeFrame::loadData()
{
    log << QStringLiteral("data:style=%1").arg(CTBCtrl1()->GetToolbarStyle());
    Tree()->ClearNodes();
    if (setNodes.isEmpty())
        return;
    Tree()->AddNode({}, QStringLiteral("R1"), QStringLiteral("人员类"), 1, 1);
    for (int i = 0; i < setNodes.size(); ++i)
        Tree()->AddNode(QStringLiteral("R1"), QStringLiteral("C%1").arg(i + 1), setNodes[i], 2, 3);
    Tree()->selectNode(Tree()->Nodes().first());
    Tree()->Nodes().first()->setExpanded(true);
}

void ProbeFrame::nodeClick()
{
    const auto *panel = StBar()->findChild<QLabel *>(QStringLiteral("Panel1"));
    log << QStringLiteral("click:%1:%2")
               .arg(Tree()->SelectedKey(), panel ? panel->text() : QString());
    failIf(QStringLiteral("click"));
    Grid *g = grid();
    g->setRows(2);
    g->setCols(int(header.size()) + 1);
    ClearFirstGridRow(g);
    g->setTextMatrix(0, 0, QStringLiteral("序号"));
    g->setColWidth(0, 800);
    for (int c = 0; c < header.size(); ++c) {
        g->setTextMatrix(0, c + 1, header[c]);
        g->setColWidth(c + 1, hiddenColumns.contains(c + 1) ? 0 : DefaultColWidth);
    }
    if (!rows.isEmpty()) {
        g->setRedraw(false);
        g->setRows(int(rows.size()) + 1);
        for (int r = 0; r < rows.size(); ++r)
            g->setRowTexts(r + 1, QStringList{QString::number(r + 1)} + rows[r]);
        g->setRedraw(true);
    }
}

void ProbeFrame::treeDblClick()
{
    log << QStringLiteral("treeDbl");
}

void ProbeFrame::gridDblClick()
{
    log << QStringLiteral("gridDbl");
}

void ProbeFrame::findNext()
{
    log << QStringLiteral("findNext");
    failIf(QStringLiteral("findNext"));
}

bool ProbeFrame::acceptsButton(const QString &key)
{
    return !inert.contains(key);
}

void ProbeFrame::failIf(const QString &handler)
{
    if (failing.contains(handler))
        throw db::DbError(u"无效的列名 " + handler);
}

void ProbeFrame::toolbarButtonClick(const QString &key)
{
    log << u"button:" + key;
    failIf(QStringLiteral("button"));
    if (!disableOnClick.isEmpty()) {
        if (QAction *action = toolbarButton(disableOnClick))
            action->setEnabled(false);
        disableOnClick.clear();
    }
}

void ProbeFrame::toolbarButtonMenuClick(const QString &buttonKey, const QString &menuKey)
{
    log << u"menu:" + buttonKey + u'/' + menuKey;
    failIf(QStringLiteral("menu"));
}

bool ProbeFrame::prepareOperationMenu(QWidget *source)
{
    log << u"menuFor:" + source->objectName();
    return true;
}

void ProbeFrame::formUnload()
{
    log << QStringLiteral("unload");
}

} // namespace vorlane::test
