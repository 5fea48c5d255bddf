#include "frmConstructUI.h"

#include "ConstructActions.h"
#include "ConstructGrid.h"

#include "common/Grid.h"
#include "common/NodeTree.h"
#include "entry/Defs.h"
#include "entry/MessageService.h"
#include "entry/mdlFunction.h"

#include "business/frmOperationFlowUI.h"
#include "entry/clsManagefrm.h"

#include <QMenu>

namespace vorlane {

namespace {

const QString Title = QStringLiteral("人事信息管理");
const QString CarriedForward = QStringLiteral("数据已结转，不能进行任何业务操作");
const QStringList SetEntries{
    QStringLiteral("ADDL"), QStringLiteral("MODIFYL"), QStringLiteral("DELETEL")};
const QStringList ItemEntries{
    QStringLiteral("ADDX"), QStringLiteral("MODIFYX"), QStringLiteral("DELETEX")};

void inform(const QString &text)
{
    showMessage(text, Title);
}

bool confirm(const QString &text)
{
    return showMessage(text, Title, MsgIcon::Information, MsgButtons::OkCancel, MsgResult::Cancel)
           == MsgResult::Ok;
}

// The dialogs open through clsManagefrm, modal and without an owner.
ConstructDialogLaunchers managefrmLaunchers()
{
    ConstructDialogLaunchers l;
    l.addSet = [](const QString &nodeKey) { clsManagefrm().AddConstruct(nodeKey, 1, nullptr); };
    l.modifySet = [](const QString &table, const QString &nodeKey, const QString &sys) {
        clsManagefrm().ModifyConstruct(table, nodeKey, sys, 1, nullptr);
    };
    l.addItem
        = [](const QString &nodeKey) { clsManagefrm().AddConstructItem(nodeKey, 1, nullptr); };
    l.modifyItem = [](const QString &table, const QString &item) {
        clsManagefrm().ModifyConstructItem(table, item, 1, nullptr);
    };
    return l;
}

template<class F, class... Args>
void launch(const F &launcher, const Args &...args)
{
    if (launcher)
        launcher(args...);
}

} // namespace

frmConstructUI::frmConstructUI(QWidget *parent)
    : BrowserFrame(parent)
    , m_launchers(managefrmLaunchers())
{
    setObjectName(QStringLiteral("frmConstructUI"));
    setWindowTitle(QStringLiteral("信息集设置"));
}

frmConstructUI::~frmConstructUI() = default;

void frmConstructUI::storeGridConstants()
{
    DefaultColWidth = ConstructGridContent::DefaultColumnWidth;
    m_setColumns = ConstructGridContent::SetColumns;
    m_itemColumns = ConstructGridContent::ItemColumns;
}

void frmConstructUI::buildToolbarAndMenus()
{
    addToolbarButton(QStringLiteral("Add"),
                     QStringLiteral("增加"),
                     QStringLiteral("增加"),
                     {{QStringLiteral("ADDL"), QStringLiteral("新增信息集")},
                      {QStringLiteral("ADDX"), QStringLiteral("新增信息项")}});
    addToolbarButton(QStringLiteral("Modify"),
                     QStringLiteral("修改"),
                     QStringLiteral("修改"),
                     {{QStringLiteral("MODIFYL"), QStringLiteral("修改信息集")},
                      {QStringLiteral("MODIFYX"), QStringLiteral("修改信息项")}});
    addToolbarButton(QStringLiteral("Delete"),
                     QStringLiteral("删除"),
                     QStringLiteral("删除"),
                     {{QStringLiteral("DELETEL"), QStringLiteral("删除信息集")},
                      {QStringLiteral("DELETEX"), QStringLiteral("删除信息项")}});
    addToolbarButton(
        QStringLiteral("YWDZ"), QStringLiteral("业务定制"), QStringLiteral("业务定制"));
    addToolbarButton(QStringLiteral("Resh"), QStringLiteral("刷新"), QStringLiteral("刷新"));
    addToolbarButton(QStringLiteral("Find"), QStringLiteral("定位"), QStringLiteral("定位"));
    addToolbarButton(QStringLiteral("Help"), QStringLiteral("帮助"), QStringLiteral("帮助"));
    addToolbarButton(QStringLiteral("Exit"), QStringLiteral("退出"), QStringLiteral("退出"));

    addFileMenu(QStringLiteral("退出(&Q)"));
    QMenu *operations = addMenu(QStringLiteral("mnuOperator"), QStringLiteral("操作(&O)"));
    const QList<std::pair<QString, QString>> entries{
        {QStringLiteral("ADDL"), QStringLiteral("新增信息集(&C)")},
        {QStringLiteral("ADDX"), QStringLiteral("新增信息项(&I)")},
        {QStringLiteral("MODIFYL"), QStringLiteral("修改信息集(&L)")},
        {QStringLiteral("MODIFYX"), QStringLiteral("修改信息项(&X)")},
        {QStringLiteral("DELETEL"), QStringLiteral("删除信息集(&D)")},
        {QStringLiteral("DELETEX"), QStringLiteral("删除信息项(&Z)")}};
    for (const auto &[key, caption] : entries) {
        m_operationEntries.insert(
            key,
            addMenuAction(operations, u"mnu" + key, caption, [this, key] { RunCommand(key); }));
    }
    operations->addSeparator();
    addMenuAction(
        operations, QStringLiteral("mnuFind"), QStringLiteral("定位(&F)"), [this] { openFind(); });
    addMenuAction(operations, QStringLiteral("mnuResh"), QStringLiteral("刷新(&R)"), [this] {
        selectFirstNodeAndClick();
    });
    // Entries hidden for a pop-up are back when the menu is opened from the menu bar.
    connect(operations, &QMenu::aboutToHide, this, [this] {
        for (QAction *entry : std::as_const(m_operationEntries))
            entry->setVisible(true);
    });
    setOperationMenu(operations);
    addHelpMenu();
}

void frmConstructUI::loadData()
{
    setOpen(this);
    m_data.clear();
    m_data.loadCollections();
    fillTree();
    m_data.loadReservedTables();
}

void frmConstructUI::formUnload()
{
    m_data.clear();
    if (ConstructBrowser::open() == this)
        setOpen(nullptr);
}

void frmConstructUI::fillTree()
{
    if (m_data.groups.Count() == 0)
        return;
    NodeTree *tree = Tree();
    tree->setUpdatesEnabled(false);
    tree->ClearNodes();
    for (const ConstructNode &node : ConstructTreeNodes(m_data.groups)) {
        QTreeWidgetItem *item
            = tree->AddNode(node.parentKey, node.key, node.text, node.image, node.selectedImage);
        if (item && !node.tag.isEmpty())
            NodeTree::setTag(item, node.tag);
    }
    if (tree->NodeCount() > 0) {
        tree->selectNode(tree->Nodes().first());
        tree->Nodes().first()->setExpanded(true);
    }
    tree->setUpdatesEnabled(true);
}

void frmConstructUI::nodeClick()
{
    if (Tree()->NodeCount() == 0)
        return;
    const QString key = Tree()->SelectedKey();
    const int optFlag = Defs::instance().OptFlag;
    if (ConstructKeys::isGroupKey(key))
        showContent(GroupSetList(ConstructKeys::groupCode(key), m_data, optFlag));
    else if (ConstructKeys::isSetKey(key))
        showContent(SetItemList(ConstructKeys::setCode(key), m_data, optFlag));
}

void frmConstructUI::showContent(const ConstructGridContent &content)
{
    Grid *g = grid();
    g->setRedraw(false);
    g->setRows(2);
    g->setCols(int(content.titles.size()));
    g->setFixedRows(1);
    g->setFixedCols(1);
    g->setBackColor(Qt::white);
    g->Clear();
    g->setRowTexts(0, content.titles);
    for (int c = 0; c < content.widths.size(); ++c) {
        if (content.widths[c] >= 0)
            g->setColWidth(c, content.widths[c]);
    }
    if (!content.rows.isEmpty()) {
        g->setRows(int(content.rows.size()) + 1);
        for (int r = 0; r < content.rows.size(); ++r)
            g->setRowTexts(r + 1, content.rows[r]);
    }
    g->setRow(1);
    g->setRedraw(true);
}

void frmConstructUI::selectFirstNodeAndClick()
{
    if (Tree()->NodeCount() == 0)
        return;
    Tree()->selectNode(Tree()->Nodes().first());
    nodeClick();
}

void frmConstructUI::treeDblClick()
{
    if (Tree()->NodeCount() > 0 && !ConstructKeys::isGroupKey(Tree()->SelectedKey()))
        RunCommand(QStringLiteral("MODIFYL"));
}

void frmConstructUI::gridDblClick()
{
    const QString key = Tree()->SelectedKey();
    if (ConstructKeys::isGroupKey(key))
        RunCommand(QStringLiteral("MODIFYL"));
    else if (ConstructKeys::isSetKey(key))
        RunCommand(QStringLiteral("MODIFYX"));
}

bool frmConstructUI::prepareOperationMenu(QWidget *source)
{
    const bool setNode = ConstructKeys::isSetKey(Tree()->SelectedKey());
    for (const QString &key : SetEntries + ItemEntries)
        m_operationEntries.value(key)->setVisible(false);
    QStringList visible = SetEntries;
    if (setNode && source == grid())
        visible = ItemEntries;
    else if (setNode)
        visible = {QStringLiteral("ADDX"), QStringLiteral("MODIFYL"), QStringLiteral("DELETEL")};
    for (const QString &key : std::as_const(visible))
        m_operationEntries.value(key)->setVisible(true);
    return true;
}

void frmConstructUI::toolbarButtonClick(const QString &key)
{
    if (key == u"YWDZ") {
        showBusinessCustomization(this);
    } else if (key == u"Resh") {
        fillTree();
        selectFirstNodeAndClick();
    } else if (key == u"Find") {
        openFind();
    }
    // "Add", "Modify" and "Delete" act only through their menu entries.
}

void frmConstructUI::toolbarButtonMenuClick(const QString &, const QString &menuKey)
{
    RunCommand(menuKey);
}

void frmConstructUI::withRight(const QString &functionCode, const std::function<void()> &command)
{
    if (!CheckFunctionRight(functionCode, true))
        return;
    try {
        command();
    } catch (...) {
        CheckFunctionRight(functionCode, false);
        throw;
    }
    CheckFunctionRight(functionCode, false);
}

QString frmConstructUI::currentCell(int col) const
{
    return grid()->TextMatrix(grid()->Row(), col);
}

bool frmConstructUI::gridIsActive() const
{
    return activeControl() == ActiveControl::Grid;
}

void frmConstructUI::RunCommand(const QString &key)
{
    if (Tree()->NodeCount() == 0)
        return;
    const QString nodeKey = Tree()->SelectedKey();
    const bool groupNode = ConstructKeys::isGroupKey(nodeKey);
    const bool setNode = ConstructKeys::isSetKey(nodeKey);
    const bool carriedForward = Defs::instance().HMJZ;

    if (key == u"ADDL") {
        withRight(QStringLiteral("HM01010101"), [&] {
            if (groupNode)
                launch(m_launchers.addSet, nodeKey);
            else
                inform(QStringLiteral("只能在根节点下增加子集！"));
        });
    } else if (key == u"ADDX") {
        withRight(QStringLiteral("HM01010102"), [&] {
            if (!setNode)
                return;
            const QString code = ConstructKeys::setCode(nodeKey);
            if (m_data.isReserved(code))
                inform(code + u"表的信息项不能增加");
            else
                launch(m_launchers.addItem, nodeKey);
        });
    } else if (key == u"MODIFYL") {
        withRight(QStringLiteral("HM01010201"), [&] { modifySet(); });
    } else if (key == u"MODIFYX") {
        if (!gridIsActive()) {
            inform(QStringLiteral("请选择要修改的信息项"));
            return;
        }
        withRight(QStringLiteral("HM01010202"), [&] {
            if (!setNode)
                inform(QStringLiteral("没有选择要修改的信息项"));
            else if (currentCell(1).isEmpty())
                inform(QStringLiteral("没有要修改的信息项"));
            else
                modifyItem();
        });
    } else if (key == u"DELETEL") {
        if (carriedForward) {
            inform(CarriedForward);
            return;
        }
        withRight(QStringLiteral("HM01010301"), [&] {
            if (groupNode && currentCell(1).isEmpty()) {
                inform(QStringLiteral("没有要删除的信息集"));
                return;
            }
            deleteSet();
            nodeClick();
        });
    } else if (key == u"DELETEX") {
        if (carriedForward) {
            inform(CarriedForward);
            return;
        }
        if (!gridIsActive()) {
            inform(QStringLiteral("请选择要删除的信息项"));
            return;
        }
        withRight(QStringLiteral("HM01010302"), [&] {
            if (!setNode) {
                inform(QStringLiteral("没有选择要删除的信息项"));
                nodeClick();
            } else if (currentCell(1).isEmpty()) {
                inform(QStringLiteral("没有要删除的信息项"));
            } else {
                deleteItem();
                nodeClick();
            }
        });
    }
}

void frmConstructUI::modifySet()
{
    const QString nodeKey = Tree()->SelectedKey();
    const QString code
        = ConstructKeys::isGroupKey(nodeKey) ? currentCell(1) : ConstructKeys::setCode(nodeKey);
    const bool system = ConstructActions::IsSystemSet(code);
    if (m_data.isReserved(code)) {
        inform(code + u"表的信息项不能编辑");
        return;
    }
    launch(
        m_launchers.modifySet, code, nodeKey, system ? QStringLiteral("0") : QStringLiteral("1"));
}

void frmConstructUI::modifyItem()
{
    const QString table = currentCell(1);
    const QString item = currentCell(2);
    if (Defs::instance().OptFlag == 1 && CodePart(currentCell(10)) == u"0") {
        inform(QStringLiteral("系统提供信息项不能编辑"));
        return;
    }
    if (m_data.isReserved(table)) {
        inform(table + u"表的信息项不能编辑");
        return;
    }
    launch(m_launchers.modifyItem, table, item);
}

void frmConstructUI::deleteItem()
{
    const QString table = currentCell(1);
    const QString item = currentCell(2);
    const QString refusal = ConstructActions::ItemDeleteRefusal(table, item, currentCell(10));
    if (!refusal.isEmpty()) {
        inform(refusal);
        return;
    }
    if (!confirm(QStringLiteral("确认删除！")))
        return;
    const DeleteResult result = ConstructActions::DeleteItem(table, item);
    inform(result.message);
    if (!result.removed)
        return;
    Grid *g = grid();
    if (g->Rows() >= 3)
        g->RemoveItem(g->Row());
    else
        ClearFirstGridRow(g);
    g->Refresh();
}

void frmConstructUI::deleteSet()
{
    QString nodeKey = Tree()->SelectedKey();
    QString code;
    if (ConstructKeys::isGroupKey(nodeKey)) {
        code = currentCell(1);
        nodeKey = ConstructKeys::setKey(nodeKey.toUpper(), code, currentCell(9));
    } else {
        code = ConstructKeys::setCode(nodeKey);
    }
    const QString refusal = ConstructActions::SetDeleteRefusal(code);
    if (!refusal.isEmpty()) {
        inform(refusal);
        return;
    }
    if (!confirm(QStringLiteral("请确认要删除该信息集！")))
        return;
    const DeleteResult result = ConstructActions::DeleteSet(code);
    inform(result.message);
    if (!result.ok)
        return;
    nodeClick();
    if (result.removed && Tree()->Exists(nodeKey)) {
        Tree()->RemoveNode(nodeKey);
        Tree()->update();
    }
}

void frmConstructUI::openFind()
{
    if (Tree()->NodeCount() == 0)
        return;
    frmFind::run(this, frmFind::InfoSetContext, m_find);
    RunFind(-1);
}

void frmConstructUI::findNext()
{
    if (Tree()->NodeCount() == 0)
        return;
    RunFind(Tree()->IndexOf(Tree()->SelectedItem()));
}

void frmConstructUI::RunFind(int startAfter)
{
    const bool byCode = m_find.FindField == u"信息集代码";
    if (!byCode && m_find.FindField != u"信息集名称")
        return;
    const QList<QTreeWidgetItem *> &nodes = Tree()->Nodes();
    for (int i = startAfter + 1; i < nodes.size(); ++i) {
        const QString key = NodeTree::Key(nodes[i]);
        if (!ConstructKeys::isSetKey(key))
            continue;
        const QString text = byCode ? ConstructKeys::setCode(key) : nodes[i]->text(0);
        if (FindMatches(text, m_find.FindOperator, m_find.FindValue)) {
            Tree()->selectNode(nodes[i]);
            nodeClick();
            return;
        }
    }
    if (confirm(QStringLiteral("查找完毕，是否重新从头查找？")))
        RunFind(-1);
}

void frmConstructUI::TreeClick()
{
    nodeClick();
}

void frmConstructUI::AppendTreeChildNode(const QString &parentKey,
                                         const QString &key,
                                         const QString &text,
                                         const QString &tag)
{
    if (Tree()->NodeCount() == 0)
        return;
    if (QTreeWidgetItem *item = Tree()->AddNode(parentKey, key, text, 2, 3))
        NodeTree::setTag(item, tag);
    Tree()->update();
}

void frmConstructUI::UpdateTreeNode(const QString &key, const QString &text)
{
    if (Tree()->NodeCount() == 0)
        return;
    Tree()->setNodeText(key, text);
    Tree()->update();
}

void frmConstructUI::UpdateGrid(int row)
{
    nodeClick();
    grid()->setRow(row);
    grid()->Refresh();
}

bool frmConstructUI::hasTreeNode(const QString &key) const
{
    return Tree()->Exists(key);
}

void frmConstructUI::setTreeNodeTag(const QString &key, const QString &tag)
{
    if (QTreeWidgetItem *item = Tree()->Node(key))
        NodeTree::setTag(item, tag);
}

int frmConstructUI::gridRow() const
{
    return grid()->Row();
}

int frmConstructUI::gridRows() const
{
    return grid()->Rows();
}

} // namespace vorlane
