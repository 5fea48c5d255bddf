#include "frmOperationFlowUI.h"

#include "CategoryMembers.h"
#include "frmXXJGroup.h"

#include "common/LauncherWindow.h"
#include "entry/Defs.h"
#include "entry/mdlFunction.h"

#include <QMenu>

namespace vorlane {

namespace {

const QString FunctionCode = QStringLiteral("HM010104");
constexpr int GridCols = 6;

} // namespace

frmOperationFlowUI::frmOperationFlowUI(QWidget *parent)
    : BrowserFrame(parent)
{
    setObjectName(QStringLiteral("frmOperationFlowUI"));
    setWindowTitle(QStringLiteral("业务设置"));
}

void frmOperationFlowUI::storeGridConstants()
{
    DefaultColWidth = 1500;
    grid()->setCols(GridCols);
}

void frmOperationFlowUI::buildToolbarAndMenus()
{
    addToolbarButton(QStringLiteral("Add"), QStringLiteral("设置"), QStringLiteral("设置"));
    addToolbarButton(QStringLiteral("Order"), QStringLiteral("排序"), QStringLiteral("排序"));
    addToolbarButton(QStringLiteral("Resh"), QStringLiteral("刷新"), QStringLiteral("刷新"));
    addToolbarButton(QStringLiteral("Help"), QStringLiteral("帮助"), QStringLiteral("帮助"));
    addToolbarButton(QStringLiteral("Exit"), QStringLiteral("退出"), QStringLiteral("退出"));

    addFileMenu(QStringLiteral("退出(&Q)"));
    QMenu *operations = addMenu(QStringLiteral("mnuOperator"), QStringLiteral("操作(&O)"));
    addMenuAction(operations, QStringLiteral("mnuAddcls"), QStringLiteral("设置(&A)"), [this] {
        Toolbar1_ButtonClick(QStringLiteral("Add"));
    });
    addMenuAction(operations, QStringLiteral("mnuOrder"), QStringLiteral("排序(&O)"), [] {});
    addMenuAction(operations, QStringLiteral("mnuResh"), QStringLiteral("刷新(&R)"), [this] {
        Toolbar1_ButtonClick(QStringLiteral("Resh"));
    });
    setOperationMenu(operations);
    addHelpMenu();
}

void frmOperationFlowUI::loadData()
{
    LoadCategories();
}

void frmOperationFlowUI::nodeClick()
{
    ShowSelectedCategory();
}

void frmOperationFlowUI::LoadCategories()
{
    const auto categories = business::loadCategories(Defs::instance().conn());
    NodeTree *tree = Tree();
    tree->ClearNodes();
    for (const auto &category : categories)
        tree->AddNode({}, category.key, category.text, 1, 1);
    if (tree->NodeCount() > 0)
        tree->selectNode(tree->Nodes().first());
}

void frmOperationFlowUI::ShowSelectedCategory()
{
    NodeTree *tree = Tree();
    if (tree->NodeCount() == 0)
        return;
    const auto members = business::loadMembers(Defs::instance().conn(),
                                               business::categoryCodeOfKey(tree->SelectedKey()));
    Grid *g = grid();
    g->setRedraw(false);
    g->setRows(2);
    g->setFixedRows(1);
    g->setFixedCols(1);
    g->setCols(int(members.titles.size()) + 1);
    ClearFirstGridRow(g);
    g->setColWidth(0, 800);
    g->setTextMatrix(0, 0, QStringLiteral("序号"));
    for (int c = 0; c < members.titles.size(); ++c) {
        g->setTextMatrix(0, c + 1, members.titles[c]);
        g->setColWidth(c + 1, DefaultColWidth);
    }
    if (!members.rows.isEmpty()) {
        g->setRows(int(members.rows.size()) + 1);
        for (int r = 0; r < members.rows.size(); ++r)
            g->setRowTexts(r + 1, QStringList{QString::number(r + 1)} + members.rows[r]);
    }
    g->setRow(1);
    g->setRedraw(true);
}

void frmOperationFlowUI::RefreshMembers()
{
    guarded([this] { ShowSelectedCategory(); });
}

bool frmOperationFlowUI::acceptsButton(const QString &key)
{
    Q_UNUSED(key)
    return Tree()->NodeCount() > 0;
}

void frmOperationFlowUI::toolbarButtonClick(const QString &key)
{
    if (key == u"Add") {
        openMembership();
    } else if (key == u"Resh") {
        LoadCategories();
        ShowSelectedCategory();
    }
}

void frmOperationFlowUI::openMembership()
{
    if (!CheckFunctionRight(FunctionCode, true))
        return;
    frmXXJGroup *dialog = windowInstance<frmXXJGroup>();
    dialog->setCategoryCode(business::categoryCodeOfKey(Tree()->SelectedKey()));
    dialog->setCategoryName(Tree()->SelectedItem() ? Tree()->SelectedItem()->text(0) : QString());
    dialog->setBrowser(this);
    try {
        dialog->FormLoad();
        showWindow(dialog, 1, this);
    } catch (...) {
        CheckFunctionRight(FunctionCode, false); // the task is released whatever the dialog met
        throw;
    }
    CheckFunctionRight(FunctionCode, false);
}

bool frmOperationFlowUI::prepareOperationMenu(QWidget *source)
{
    Q_UNUSED(source)
    return Tree()->NodeCount() > 0;
}

void showBusinessCustomization(QWidget *owner)
{
    showWindow(windowInstance<frmOperationFlowUI>(), 1, owner);
}

} // namespace vorlane
