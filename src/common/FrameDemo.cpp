#include "FrameDemo.h"

#include "entry/MessageService.h"

#include <QMenu>

namespace vorlane {

namespace {

const QString RootKey = QStringLiteral("R");

QString groupKey(const QString &value)
{
    return u"C" + RootKey + u'^' + value;
}

} // namespace

frmFrameDemo::frmFrameDemo(FrameDemoData data, QWidget *parent)
    : BrowserFrame(parent)
    , m_data(std::move(data))
{
    setObjectName(QStringLiteral("frmFrameDemo"));
    setWindowTitle(m_data.caption);
    FormLoad();
}

void frmFrameDemo::buildToolbarAndMenus()
{
    addToolbarButton(QStringLiteral("Resh"), QStringLiteral("刷新"), QStringLiteral("刷新"));
    addToolbarButton(QStringLiteral("Find"), QStringLiteral("定位"), QStringLiteral("定位"));
    addToolbarButton(QStringLiteral("Help"), QStringLiteral("帮助"), QStringLiteral("帮助"));
    addToolbarButton(QStringLiteral("Exit"), QStringLiteral("退出"), QStringLiteral("退出"));

    addFileMenu(QStringLiteral("退出(&Q)"));
    QMenu *operations = addMenu(QStringLiteral("mnuOperator"), QStringLiteral("操作(&O)"));
    addMenuAction(
        operations, QStringLiteral("mnuFind"), QStringLiteral("定位(&F)"), [this] { openFind(); });
    addMenuAction(operations, QStringLiteral("mnuRef"), QStringLiteral("刷新(&R)"), [this] {
        Toolbar1_ButtonClick(QStringLiteral("Resh"));
    });
    setOperationMenu(operations);
    addHelpMenu();
}

void frmFrameDemo::loadData()
{
    NodeTree *tree = Tree();
    tree->ClearNodes();
    QTreeWidgetItem *root = tree->AddNode({}, RootKey, m_data.rootText, 1, 2);
    if (m_data.groupColumn >= 0) {
        for (const QStringList &row : std::as_const(m_data.rows)) {
            const QString value = row.value(m_data.groupColumn);
            if (!tree->Exists(groupKey(value)))
                tree->AddNode(RootKey,
                              groupKey(value),
                              value.isEmpty() ? QStringLiteral("（空）") : value,
                              3,
                              4);
        }
    }
    tree->selectNode(root);
    root->setExpanded(true);
}

void frmFrameDemo::nodeClick()
{
    NodeTree *tree = Tree();
    if (tree->NodeCount() == 0)
        return;
    const QString key = tree->SelectedKey();
    const bool all = key == RootKey;
    const QString value = key.section(u'^', 1);

    Grid *g = grid();
    g->setRedraw(false);
    g->setRows(2);
    g->setFixedRows(1);
    g->setFixedCols(1);
    g->setCols(int(m_data.header.size()) + 1);
    g->setBackColor(Qt::white);
    ClearFirstGridRow(g);
    g->setTextMatrix(0, 0, QStringLiteral("序号"));
    g->setColWidth(0, 800);
    for (int c = 0; c < m_data.header.size(); ++c) {
        g->setTextMatrix(0, c + 1, m_data.header[c]);
        g->setColWidth(c + 1, DefaultColWidth);
    }
    QList<const QStringList *> shown;
    for (const QStringList &row : std::as_const(m_data.rows)) {
        if (all || row.value(m_data.groupColumn) == value)
            shown << &row;
    }
    if (!shown.isEmpty()) {
        g->setRows(int(shown.size()) + 1);
        for (int r = 0; r < shown.size(); ++r)
            g->setRowTexts(r + 1, QStringList{QString::number(r + 1)} + *shown[r]);
    }
    g->setRow(1);
    g->setRedraw(true);
}

void frmFrameDemo::openFind()
{
    if (frmFind::run(this, frmFind::InfoSetContext, m_find))
        RunFind(-1);
}

void frmFrameDemo::RunFind(int startAfter)
{
    if (m_find.isEmpty())
        return;
    const QList<QTreeWidgetItem *> &nodes = Tree()->Nodes();
    for (int i = startAfter + 1; i < nodes.size(); ++i) {
        if (FindMatches(nodes[i]->text(0), m_find.FindOperator, m_find.FindValue)) {
            Tree()->selectNode(nodes[i]);
            nodeClick();
            return;
        }
    }
    if (showMessage(QStringLiteral("查找完毕，是否重新从头查找？"),
                    QStringLiteral("人事信息管理"),
                    MsgIcon::Information,
                    MsgButtons::OkCancel,
                    MsgResult::Cancel)
        == MsgResult::Ok) {
        RunFind(-1);
    }
}

void frmFrameDemo::findNext()
{
    RunFind(Tree()->IndexOf(Tree()->SelectedItem()));
}

void frmFrameDemo::toolbarButtonClick(const QString &key)
{
    if (key == u"Resh") {
        loadData();
        nodeClick();
    } else if (key == u"Find") {
        openFind();
    }
}

QWidget *createFrameDemoWindow(QWidget *parent, const FrameDemoData &data)
{
    auto *window = new frmFrameDemo(data, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    return window;
}

QWidget *createFrameDemoWindow(QWidget *parent)
{
    FrameDemoData data;
    data.caption = QStringLiteral("框架演示");
    data.rootText = QStringLiteral("人员类");
    data.header = {
        QStringLiteral("信息集代码"), QStringLiteral("信息集名称"), QStringLiteral("应用表类型")};
    data.rows = {
        {QStringLiteral("HR_HI_PERSON"), QStringLiteral("人员基本信息"), QStringLiteral("1-人员")},
        {QStringLiteral("HR_HI_EDU"), QStringLiteral("学历学位"), QStringLiteral("1-人员")},
        {QStringLiteral("HR_DEPT"), QStringLiteral("部门信息"), QStringLiteral("2-部门")}};
    data.groupColumn = 2;
    return createFrameDemoWindow(parent, data);
}

} // namespace vorlane
