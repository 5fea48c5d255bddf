#include "CommonFixture.h"

#include "db/DbError.h"
#include "entry/Defs.h"

#include <QLabel>
#include <QMenu>
#include <QStatusBar>

namespace vorlane::test {

using namespace Qt::StringLiterals;

QString sourceDir()
{
    return qEnvironmentVariable("VORLANE_SOURCE_DIR");
}

LoginScope::LoginScope(int toolbarStyle)
    : m_login(std::make_shared<FakeLogin>())
{
    m_login->installPath = sourceDir();
    m_login->operatorName = u"李四"_s;
    Defs &defs = Defs::instance();
    defs.reset();
    defs.cLogin = m_login;
    defs.helpLocation = helpLocationFor(m_login->installPath);
    defs.MenuID = u"HR0101"_s;
    defs.SYSID = u"HR"_s;
    defs.MenueStyleID = qint16(toolbarStyle);
}

LoginScope::~LoginScope()
{
    Defs::instance().reset();
}

ProbeFrame::ProbeFrame(QWidget *parent)
    : BrowserFrame(parent)
{
    setObjectName(u"frmProbe"_s);
}

void ProbeFrame::storeGridConstants()
{
    log << u"constants"_s;
    DefaultColWidth = 1500;
}

void ProbeFrame::buildToolbarAndMenus()
{
    log << u"toolbar"_s;
    addToolbarButton(u"Add"_s,
                     u"增加"_s,
                     u"增加"_s,
                     {{u"ADDL"_s, u"新增信息集"_s}, {u"ADDX"_s, u"新增信息项"_s}});
    addToolbarButton(u"Find"_s, u"定位"_s, u"定位"_s);
    addToolbarButton(u"Help"_s, u"帮助"_s, u"帮助"_s);
    addToolbarButton(u"Exit"_s, u"退出"_s, u"退出"_s);
    addFileMenu(u"退出(&Q)"_s);
    QMenu *operations = addMenu(u"mnuOperator"_s, u"操作(&O)"_s);
    addMenuAction(operations, u"mnuFind"_s, u"定位(&F)"_s, {});
    setOperationMenu(operations);
    addHelpMenu();
}

void ProbeFrame::loadData()
{
    log << u"data:style=%1"_s.arg(CTBCtrl1()->GetToolbarStyle());
    Tree()->ClearNodes();
    if (setNodes.isEmpty())
        return;
    Tree()->AddNode({}, u"R1"_s, u"人员类"_s, 1, 1);
    for (int i = 0; i < setNodes.size(); ++i)
        Tree()->AddNode(u"R1"_s, u"C%1"_s.arg(i + 1), setNodes[i], 2, 3);
    Tree()->selectNode(Tree()->Nodes().first());
    Tree()->Nodes().first()->setExpanded(true);
}

void ProbeFrame::nodeClick()
{
    const auto *panel = StBar()->findChild<QLabel *>(u"Panel1"_s);
    log << u"click:%1:%2"_s.arg(Tree()->SelectedKey(), panel ? panel->text() : QString());
    failIf(u"click"_s);
    Grid *g = grid();
    g->setRows(2);
    g->setCols(int(header.size()) + 1);
    ClearFirstGridRow(g);
    g->setTextMatrix(0, 0, u"序号"_s);
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

void ProbeFrame::findNext()
{
    log << u"findNext"_s;
    failIf(u"findNext"_s);
}

void ProbeFrame::failIf(const QString &handler)
{
    if (failing.contains(handler))
        throw db::DbError(u"无效的列名 " + handler);
}

void ProbeFrame::toolbarButtonClick(const QString &key)
{
    log << u"button:" + key;
    failIf(u"button"_s);
    if (!disableOnClick.isEmpty()) {
        if (QAction *action = toolbarButton(disableOnClick))
            action->setEnabled(false);
        disableOnClick.clear();
    }
}

void ProbeFrame::toolbarButtonMenuClick(const QString &buttonKey, const QString &menuKey)
{
    log << u"menu:" + buttonKey + u'/' + menuKey;
    failIf(u"menu"_s);
}

void ProbeFrame::formUnload()
{
    log << u"unload"_s;
}

} // namespace vorlane::test
