#include "frmArchiveUI.h"

#include "ArchiveActions.h"
#include "ArchiveGrid.h"
#include "ArchiveTree.h"

#include "entry/Defs.h"
#include "entry/clsManagefrm.h"
#include "entry/MessageService.h"
#include "entry/mdlFunction.h"

#include <QMenu>

namespace vorlane {

namespace {

const QString Title = QStringLiteral("人事信息管理");
const QString ByName = QStringLiteral("档案类名称");
const QString ByCode = QStringLiteral("档案类代码");

// Function codes of the guarded button-menu entries.
QString functionCode(const QString &menuKey)
{
    static const QHash<QString, QString> codes = {
        {QStringLiteral("ADDL"), QStringLiteral("HM01020101")},
        {QStringLiteral("ADDX"), QStringLiteral("HM01020102")},
        {QStringLiteral("MODIFYL"), QStringLiteral("HM01020201")},
        {QStringLiteral("MODIFYX"), QStringLiteral("HM01020202")},
        {QStringLiteral("DELETEL"), QStringLiteral("HM01020301")},
        {QStringLiteral("DELETEX"), QStringLiteral("HM01020302")},
    };
    return codes.value(menuKey);
}

bool confirm(const QString &question)
{
    return showMessage(
               question, Title, MsgIcon::Information, MsgButtons::OkCancel, MsgResult::Cancel)
           == MsgResult::Ok;
}

} // namespace

frmArchiveUI::frmArchiveUI(QWidget *parent)
    : BrowserFrame(parent)
    , m_launchers(managefrmLaunchers())
{
    setObjectName(QStringLiteral("frmArchiveUI"));
    setWindowTitle(QStringLiteral("基础档案管理"));
    setOpen(this);
}

frmArchiveUI::~frmArchiveUI() = default;

ArchiveEditorLaunchers frmArchiveUI::managefrmLaunchers()
{
    return {[](int nModal, QWidget *owner) { clsManagefrm().AddArchive(nModal, owner); },
            [](const QString &table, int nModal, QWidget *owner) {
                clsManagefrm().ModifyArchive(table, nModal, owner);
            },
            [](const QString &nodeKey,
               const QString &table,
               const QString &code,
               int level,
               int nModal,
               QWidget *owner) {
                clsManagefrm().AddArchiveItem(nodeKey, table, code, level, nModal, owner);
            },
            [](const QString &table, const QString &code, int nModal, QWidget *owner) {
                clsManagefrm().ModifyArchiveItem(table, code, nModal, owner);
            }};
}

void frmArchiveUI::storeGridConstants()
{
    DefaultColWidth = archive::GridDefaultColWidth;
}

void frmArchiveUI::buildToolbarAndMenus()
{
    addToolbarButton(QStringLiteral("Add"),
                     QStringLiteral("增加"),
                     QStringLiteral("增加"),
                     {{QStringLiteral("ADDL"), QStringLiteral("新增档案类")},
                      {QStringLiteral("ADDX"), QStringLiteral("新增档案项")}});
    addToolbarButton(QStringLiteral("Modify"),
                     QStringLiteral("修改"),
                     QStringLiteral("修改"),
                     {{QStringLiteral("MODIFYL"), QStringLiteral("修改档案类")},
                      {QStringLiteral("MODIFYX"), QStringLiteral("修改档案项")}});
    addToolbarButton(QStringLiteral("Delete"),
                     QStringLiteral("删除"),
                     QStringLiteral("删除"),
                     {{QStringLiteral("DELETEL"), QStringLiteral("删除档案类")},
                      {QStringLiteral("DELETEX"), QStringLiteral("删除档案项")}});
    addToolbarButton(QStringLiteral("Resh"), QStringLiteral("刷新"), QStringLiteral("刷新"));
    addToolbarButton(QStringLiteral("Find"), QStringLiteral("定位"), QStringLiteral("定位"));
    addToolbarButton(QStringLiteral("Help"), QStringLiteral("帮助"), QStringLiteral("帮助"));
    addToolbarButton(QStringLiteral("Exit"), QStringLiteral("退出"), QStringLiteral("退出"));

    addFileMenu(QStringLiteral("退出(&E)"));
    m_mnuOperator = addMenu(QStringLiteral("mnuOperator"), QStringLiteral("操作(&O)"));
    const auto entry = [this](const char *name, const QString &caption, const QString &menuKey) {
        QAction *action
            = addMenuAction(m_mnuOperator, QString::fromLatin1(name), caption, [this, menuKey] {
                  RunEntry(menuKey);
              });
        (menuKey.endsWith(u'L') ? m_classEntries : m_itemEntries) << action;
    };
    entry("mnuAddCls", QStringLiteral("新增档案类(&C)"), QStringLiteral("ADDL"));
    entry("mnuAddItem", QStringLiteral("新增档案项(&I)"), QStringLiteral("ADDX"));
    entry("mnuModifyL", QStringLiteral("修改档案类(&L)"), QStringLiteral("MODIFYL"));
    entry("mnuModifyX", QStringLiteral("修改档案项(&X)"), QStringLiteral("MODIFYX"));
    entry("mnuDelL", QStringLiteral("删除档案类(&D)"), QStringLiteral("DELETEL"));
    entry("mnuDelX", QStringLiteral("删除档案项(&X)"), QStringLiteral("DELETEX"));
    addMenuAction(m_mnuOperator, QStringLiteral("mnuFind"), QStringLiteral("定位(&F)"), [this] {
        toolbarButtonClick(QStringLiteral("Find"));
    });
    addMenuAction(m_mnuOperator, QStringLiteral("mnuRef"), QStringLiteral("刷新(&R)"), [this] {
        LoadClassTree();
        ShowSelectedNode();
    });
    setOperationMenu(m_mnuOperator);
    addHelpMenu();
}

void frmArchiveUI::loadData()
{
    LoadClassTree();
}

void frmArchiveUI::LoadClassTree()
{
    NodeTree *tree = Tree();
    tree->ClearNodes();
    for (const archive::TreeNode &node : archive::loadClassNodes())
        tree->AddNode(node.parentKey, node.key, node.text, 1, 2);
    if (tree->NodeCount() > 0)
        tree->selectNode(tree->Nodes().first());
}

void frmArchiveUI::nodeClick()
{
    ShowSelectedNode();
}

void frmArchiveUI::treeArrowKey(int)
{
    ShowSelectedNode();
}

void frmArchiveUI::SetupCodeGrid()
{
    Grid *g = grid();
    g->setRedraw(false);
    g->setCols(archive::GridColumnCount);
    g->setRows(2);
    g->setFixedRows(1);
    g->setFixedCols(1);
    ClearFirstGridRow(g);
    const QStringList titles = archive::gridTitles();
    for (int c = 0; c < archive::GridColumnCount; ++c) {
        g->setTextMatrix(0, c, titles[c]);
        g->setColWidth(c, c == 0 ? archive::GridNumberColWidth : DefaultColWidth);
    }
    g->setRedraw(true);
}

void frmArchiveUI::FillCodeGrid(const clsHrCTs &codes)
{
    Grid *g = grid();
    g->setRedraw(false);
    g->setRows(codes.Count() + 1);
    const QList<QStringList> rows = archive::gridRows(codes);
    for (int r = 0; r < rows.size(); ++r)
        g->setRowTexts(r + 1, rows[r]);
    g->setRow(1);
    g->setRedraw(true);
}

void frmArchiveUI::ShowSelectedNode()
{
    NodeTree *tree = Tree();
    QTreeWidgetItem *node = tree->SelectedItem();
    if (tree->NodeCount() == 0 || !node)
        return;
    const QString key = NodeTree::Key(node);
    SetupCodeGrid();
    archive::NodeListing listing = archive::visitNode(key, node->childCount() > 0);
    m_codes = listing.codes ? listing.codes : std::make_shared<clsHrCTs>();
    for (const archive::TreeNode &child : std::as_const(listing.newNodes))
        tree->AddNode(child.parentKey, child.key, child.text, 3, 4);
    if (listing.fillGrid)
        FillCodeGrid(*m_codes);
}

void frmArchiveUI::AddClassNode(const QString &classKeyPart, const QString &name)
{
    Tree()->AddNode(
        QString(), u'R' + classKeyPart, name + u'(' + classKeyPart.left(8) + u')', 1, 2);
    Tree()->update();
}

void frmArchiveUI::AddCodeNode(const QString &parentKey,
                               const QString &codeKeyPart,
                               const QString &text)
{
    if (QTreeWidgetItem *node = Tree()->AddNode(parentKey, u'C' + codeKeyPart, text, 3, 4))
        node->parent()->setExpanded(true);
    Tree()->update();
    ShowSelectedNode();
}

void frmArchiveUI::RefreshAfterEdit(int row)
{
    ShowSelectedNode();
    grid()->setRow(row);
    grid()->Refresh();
}

int frmArchiveUI::gridRow() const
{
    return grid()->Row();
}

int frmArchiveUI::gridRows() const
{
    return grid()->Rows();
}

QString frmArchiveUI::selectedNodeKey() const
{
    return Tree()->SelectedKey();
}

void frmArchiveUI::setSelectedNodeText(const QString &text)
{
    if (QTreeWidgetItem *node = Tree()->SelectedItem())
        node->setText(0, text);
}

bool frmArchiveUI::hasTreeNode(const QString &key) const
{
    return Tree()->Exists(key);
}

QString frmArchiveUI::firstChildKey(const QString &key) const
{
    const QTreeWidgetItem *node = Tree()->Node(key);
    return node && node->childCount() > 0 ? NodeTree::Key(node->child(0)) : QString();
}

void frmArchiveUI::toolbarButtonClick(const QString &key)
{
    if (key == u"Resh") {
        LoadClassTree();
        ShowSelectedNode();
    } else if (key == u"Find") {
        openFind();
        RunFind();
    }
}

void frmArchiveUI::toolbarButtonMenuClick(const QString &, const QString &menuKey)
{
    RunEntry(menuKey);
}

void frmArchiveUI::gridDblClick()
{
    RunEntry(QStringLiteral("MODIFYX"));
}

void frmArchiveUI::RunEntry(const QString &menuKey)
{
    const QString code = functionCode(menuKey);
    if (code.isEmpty())
        return;
    const bool deleting = menuKey.startsWith(u"DELETE");
    // Carried-forward data may be looked at, not deleted; the host is not even asked.
    if (deleting && Defs::instance().HMJZ) {
        showMessage(QStringLiteral("数据已结转，不能进行任何业务操作"), Title);
        return;
    }
    if (!CheckFunctionRight(code, true))
        return;
    // The granted code is released however the command ends.
    struct Release
    {
        QString code;
        ~Release()
        {
            try {
                CheckFunctionRight(code, false);
            } catch (...) {
                // Nobody to tell while unwinding; the host drops tasks of ended sessions.
            }
        }
    } release{code};

    const QString key = Tree()->SelectedKey();
    if (menuKey == u"ADDL") {
        if (m_launchers.AddArchive)
            m_launchers.AddArchive(1, nullptr);
    } else if (menuKey == u"ADDX") {
        AddItemCommand();
    } else if (menuKey == u"MODIFYL") {
        if (m_launchers.ModifyArchive && !key.isEmpty())
            m_launchers.ModifyArchive(archive::tableCodeOfKey(key), 1, nullptr);
        ShowSelectedNode();
    } else if (menuKey == u"MODIFYX") {
        ModifyItemCommand();
        ShowSelectedNode();
    } else if (menuKey == u"DELETEL") {
        DeleteArchiveClass();
        ShowSelectedNode();
    } else {
        DeleteItemCommand();
        ShowSelectedNode();
    }
}

void frmArchiveUI::AddItemCommand()
{
    if (Tree()->NodeCount() == 0)
        return;
    const QString key = Tree()->SelectedKey();
    const QString table = archive::tableCodeOfKey(key);
    if (archive::isClassKey(key)) {
        if (m_launchers.AddArchiveItem)
            m_launchers.AddArchiveItem(key, table, QString(), 0, 1, nullptr);
        return;
    }
    if (!archive::isCodeKey(key))
        return;
    if (!archive::IsMultiLevelClass(table)) {
        showMessage(QStringLiteral("该级节点为末级节点，禁止扩展！"), Title, MsgIcon::Critical);
        return;
    }
    if (m_launchers.AddArchiveItem) {
        m_launchers.AddArchiveItem(
            key, table, archive::codeOfKey(key), archive::levelOfKey(key), 1, nullptr);
    }
}

void frmArchiveUI::ModifyItemCommand()
{
    if (Tree()->NodeCount() == 0)
        return;
    const QString key = Tree()->SelectedKey();
    switch (activeControl()) {
    case ActiveControl::Tree:
        if (archive::isCodeKey(key) && m_launchers.ModifyArchiveItem) {
            m_launchers.ModifyArchiveItem(
                archive::tableCodeOfKey(key), archive::codeOfKey(key), 1, nullptr);
        }
        break;
    case ActiveControl::Grid: {
        const QString code = grid()->TextMatrix(grid()->Row(), archive::GridCodeColumn).trimmed();
        if (code.isEmpty())
            showMessage(QStringLiteral("没有要修改的档案项"), Title);
        else if (m_launchers.ModifyArchiveItem)
            m_launchers.ModifyArchiveItem(archive::tableCodeOfKey(key), code, 1, nullptr);
        break;
    }
    case ActiveControl::None:
        break;
    }
}

void frmArchiveUI::DeleteItemCommand()
{
    Grid *g = grid();
    int row = 0;
    switch (activeControl()) {
    case ActiveControl::Tree:
        if (g->Rows() > 2) {
            showMessage(QStringLiteral("请选择要删除的档案项！"), Title);
            g->setFocus();
            g->setRow(1);
            g->setCol(1);
            return;
        }
        row = 1;
        break;
    case ActiveControl::Grid:
        row = g->Row();
        break;
    case ActiveControl::None:
        return;
    }
    const QString code = g->TextMatrix(row, archive::GridCodeColumn).trimmed();
    if (code.isEmpty()) {
        showMessage(QStringLiteral("没有要删除的档案项"), Title);
        return;
    }
    DeleteArchiveItem(code, archive::levelOfText(g->TextMatrix(row, archive::GridLevelColumn)));
}

void frmArchiveUI::DeleteArchiveItem(const QString &code, int level)
{
    NodeTree *tree = Tree();
    if (tree->NodeCount() == 0)
        return;
    const QString table = archive::tableCodeOfKey(tree->SelectedKey());
    const archive::ActionResult result = archive::DeleteArchiveItem(table, code, level, confirm);
    if (result.ok) {
        Grid *g = grid();
        const QString shownLevel
            = CodePart(g->TextMatrix(g->Row(), archive::GridLevelColumn)).trimmed();
        tree->RemoveNode(u'C' + table + u'^' + code + u'^' + shownLevel);
        tree->update();
        if (g->Row() >= 2)
            g->RemoveItem(g->Row());
        else
            ClearFirstGridRow(g);
        g->Refresh();
    }
    if (!result.message.isEmpty())
        showMessage(result.message, Title);
    if (result.ok)
        ShowSelectedNode();
}

void frmArchiveUI::DeleteArchiveClass()
{
    NodeTree *tree = Tree();
    if (tree->NodeCount() == 0)
        return;
    const QString table = archive::tableCodeOfKey(tree->SelectedKey());
    const archive::ActionResult result = archive::DeleteArchiveClass(table, confirm);
    if (result.removeNode) {
        // The class node goes with its code nodes, also when a code node was selected.
        for (QTreeWidgetItem *node : tree->Nodes()) {
            const QString key = NodeTree::Key(node);
            if (archive::isClassKey(key) && archive::tableCodeOfKey(key) == table) {
                tree->RemoveNode(key);
                break;
            }
        }
        tree->update();
    }
    if (!result.message.isEmpty())
        showMessage(result.message, Title);
    if (result.ok)
        ShowSelectedNode();
}

void frmArchiveUI::openFind()
{
    frmFind::run(this, frmFind::ArchiveClassContext, m_find);
}

void frmArchiveUI::RunFind()
{
    if (m_find.FindField == ByName)
        FindClassByName(-1);
    else if (m_find.FindField == ByCode)
        FindClassByCode(-1);
}

void frmArchiveUI::findNext()
{
    const int selected = Tree()->IndexOf(Tree()->SelectedItem());
    if (m_find.FindField == ByName)
        FindClassByName(selected);
    else if (m_find.FindField == ByCode)
        FindClassByCode(selected);
}

void frmArchiveUI::FindClassByName(int start)
{
    findClass(start, false);
}

void frmArchiveUI::FindClassByCode(int start)
{
    findClass(start, true);
}

void frmArchiveUI::findClass(int start, bool byCode)
{
    static const QStringList operators = {QStringLiteral("等于"),
                                          QStringLiteral("不等于"),
                                          QStringLiteral("包含"),
                                          QStringLiteral("不包含")};
    if (!operators.contains(m_find.FindOperator))
        return;
    NodeTree *tree = Tree();
    for (;;) {
        const QList<QTreeWidgetItem *> &nodes = tree->Nodes();
        for (int i = start + 1; i < nodes.size(); ++i) {
            const QString key = NodeTree::Key(nodes[i]);
            if (archive::isClassKey(key)
                && FindMatches(
                    archive::findComparedText(key, nodes[i]->text(0), byCode, m_find.FindOperator),
                    m_find.FindOperator,
                    m_find.FindValue,
                    Qt::CaseInsensitive)) {
                tree->selectNode(nodes[i]);
                ShowSelectedNode();
                return;
            }
        }
        if (showMessage(QStringLiteral("查找完毕，是否重新从头查找？"),
                        Title,
                        MsgIcon::Information,
                        MsgButtons::OkCancel,
                        MsgResult::Cancel)
            != MsgResult::Ok)
            return;
        start = -1;
    }
}

bool frmArchiveUI::prepareOperationMenu(QWidget *source)
{
    const bool codeEntries = source != Tree() || archive::isCodeKey(Tree()->SelectedKey());
    for (QAction *action : std::as_const(m_classEntries))
        action->setVisible(!codeEntries);
    for (QAction *action : std::as_const(m_itemEntries))
        action->setVisible(codeEntries);
    return true;
}

void frmArchiveUI::formUnload()
{
    m_codes.reset();
}

} // namespace vorlane
