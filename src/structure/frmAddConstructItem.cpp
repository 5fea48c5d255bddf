#include "frmAddConstructItem.h"

#include "ItemInputs.h"

#include "common/BrowserFrame.h"
#include "common/EditorBoxes.h"
#include "common/HelpViewer.h"
#include "common/WindowHelpers.h"
#include "entry/Defs.h"
#include "entry/MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vorlane {

namespace {

const QString title = QStringLiteral("人事信息管理");
constexpr int PendingColumns = 17;
// A row's check state when the mouse went down, to tell a click on the check box from a click on
// the row.
constexpr int CheckRole = Qt::UserRole + 1;

ItemInput entryOfRow(const QTreeWidgetItem *row)
{
    QStringList columns;
    for (int c = 0; c < PendingColumns; ++c)
        columns << row->text(c);
    return ItemRules::fromPendingColumns(columns);
}

QTreeWidgetItem *newRow(QTreeWidget *list)
{
    auto *row = new QTreeWidgetItem(list);
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(0, Qt::Unchecked);
    return row;
}

} // namespace

frmAddConstructItem::frmAddConstructItem(QWidget *parent)
    : EditorDialog(Load::ByLauncher, parent)
    , m_inputs(new ItemInputs(this, ItemInputs::Order::LastLevelFirst))
    , m_lvwXJ(new QTreeWidget(this))
    , m_cmdSure(button(this, QStringLiteral("cmdSure"), QStringLiteral("确定")))
    , m_cmdAdd(button(this, QStringLiteral("cmdAdd"), QStringLiteral("取消")))
    , m_cmdDel(button(this, QStringLiteral("cmdDel"), QStringLiteral("删除")))
    , m_cmdOk(button(this, QStringLiteral("cmdOk"), QStringLiteral("确  定(&S)")))
    , m_cmdQuit(button(this, QStringLiteral("cmdQuit"), QStringLiteral("放  弃(&C)")))
{
    setObjectName(QStringLiteral("frmAddConstructItem"));
    setWindowTitle(QStringLiteral("增加信息项"));

    m_lvwXJ->setObjectName(QStringLiteral("lvwXJ"));
    m_lvwXJ->setColumnCount(PendingColumns);
    m_lvwXJ->setHeaderLabels(ItemRules::pendingColumnTitles());
    m_lvwXJ->setRootIsDecorated(false);
    m_lvwXJ->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lvwXJ->setMinimumHeight(140);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_inputs->layout());
    layout->addLayout(buttonRow({m_cmdSure, m_cmdAdd, m_cmdDel}));
    layout->addWidget(m_lvwXJ, 1);
    layout->addLayout(buttonRow({m_cmdOk, m_cmdQuit}));
    resize(760, 520);

    // Choosing a type, even the one already chosen, sets its dependent inputs afresh.
    connect(
        m_inputs->cboType, &QComboBox::currentIndexChanged, m_inputs, &ItemInputs::applyTypeLayout);
    connect(m_inputs->cboType, &QComboBox::activated, m_inputs, &ItemInputs::applyTypeLayout);
    connect(m_cmdSure, &QPushButton::clicked, this, &frmAddConstructItem::cmdSureClick);
    connect(m_cmdAdd, &QPushButton::clicked, this, &frmAddConstructItem::cmdAddClick);
    connect(m_cmdDel, &QPushButton::clicked, this, &frmAddConstructItem::cmdDelClick);
    connect(m_cmdOk, &QPushButton::clicked, this, &frmAddConstructItem::cmdOkClick);
    connect(m_cmdQuit, &QPushButton::clicked, this, &QWidget::close);
    connect(m_lvwXJ, &QTreeWidget::itemPressed, this, [](QTreeWidgetItem *row) {
        row->setData(0, CheckRole, int(row->checkState(0)));
    });
    connect(m_lvwXJ, &QTreeWidget::itemClicked, this, &frmAddConstructItem::recall);
    installHelpKey(this);
}

void frmAddConstructItem::prepare(const QString &tableCode)
{
    m_creation.prepare(tableCode);
    FormLoad();
}

void frmAddConstructItem::FormLoad()
{
    SetHelpContext(this);
    setWindowIcon(BrowserFrame::windowIcon106());

    m_inputs->clearCombos();
    m_inputs->clearInputs();
    m_creation.load();
    m_lvwXJ->clear();
    m_cmdAdd->setEnabled(false);
    m_inputs->cboNull->setEnabled(false);
    m_mode = Entering;

    m_inputs->chkDefine->setVisible(Defs::instance().OptFlag != 1);

    m_inputs->fillCombos(m_creation.lists());
    m_inputs->resetCombos();
    setWindowTitle(QStringLiteral("增加信息项"));

    const bool open = !Defs::instance().HMJZ;
    for (QPushButton *b : {m_cmdAdd, m_cmdDel, m_cmdSure, m_cmdOk})
        b->setEnabled(open);
}

void frmAddConstructItem::clearAndReset()
{
    m_inputs->clearInputs();
    m_inputs->resetCombos();
}

QList<ItemInput> frmAddConstructItem::pendingEntries() const
{
    QList<ItemInput> entries;
    for (int i = 0; i < m_lvwXJ->topLevelItemCount(); ++i)
        entries << entryOfRow(m_lvwXJ->topLevelItem(i));
    return entries;
}

void frmAddConstructItem::setEntryRow(QTreeWidgetItem *row, const ItemInput &entry)
{
    const QStringList columns = ItemRules::pendingColumns(entry, m_creation.tableCode());
    for (int c = 0; c < PendingColumns; ++c)
        row->setText(c, columns.at(c));
}

bool frmAddConstructItem::refused(const ActionResult &result)
{
    if (result.ok)
        return false;
    showMessage(result.message, title);
    m_inputs->focusField(result.focus);
    return true;
}

void frmAddConstructItem::cmdSureClick()
{
    if (m_mode == Correcting)
        updateEntry();
    else
        addEntry();
}

void frmAddConstructItem::addEntry()
{
    if (!m_inputs->txtItemCode->isEnabled()) {
        showMessage(QStringLiteral("处于编辑状态，请按确定按钮后再增加！"), title);
        return;
    }
    m_mode = Entering;
    ItemInput entry = m_inputs->read().trimmed();
    if (refused(m_creation.checkNew(entry, pendingEntries())))
        return;
    if (!ItemRules::isNumeric(entry.showOrder))
        entry.showOrder = ItemCreation::defaultShowOrder(m_lvwXJ->topLevelItemCount() + 1);

    setEntryRow(newRow(m_lvwXJ), entry);

    clearAndReset();
    m_cmdAdd->setEnabled(true);
}

void frmAddConstructItem::updateEntry()
{
    ItemInput entry = m_inputs->read().trimmed();
    if (refused(m_creation.checkCorrection(entry)))
        return;
    QTreeWidgetItem *row = m_lvwXJ->currentItem();
    setEntryRow(row ? row : newRow(m_lvwXJ), entry);
    clearAndReset();
    m_cmdAdd->setEnabled(true);
    m_mode = Entering;
}

void frmAddConstructItem::recall(QTreeWidgetItem *row)
{
    if (!row)
        return;
    if (row->data(0, CheckRole).toInt() != int(row->checkState(0)))
        return; // the click ticked or cleared the check box

    m_mode = Correcting;
    m_cmdAdd->setEnabled(true);
    m_inputs->write(entryOfRow(row));
    m_inputs->txtItemCode->setEnabled(false);
}

void frmAddConstructItem::cmdAddClick()
{
    m_mode = Entering;
    clearAndReset();
    m_cmdAdd->setEnabled(false);
}

void frmAddConstructItem::cmdDelClick()
{
    for (;;) {
        QTreeWidgetItem *checked = nullptr;
        for (int i = 0; i < m_lvwXJ->topLevelItemCount() && !checked; ++i) {
            if (m_lvwXJ->topLevelItem(i)->checkState(0) == Qt::Checked)
                checked = m_lvwXJ->topLevelItem(i);
        }
        if (!checked)
            break;
        delete checked;
        clearAndReset();
    }
    if (m_lvwXJ->topLevelItemCount() == 0)
        m_inputs->clearInputs();
    m_mode = Entering;
}

void frmAddConstructItem::cmdOkClick()
{
    if (m_lvwXJ->topLevelItemCount() == 0)
        return;
    if (!confirmed(QStringLiteral("请确认向表中增加字段！"), title))
        return;
    const ActionResult result = m_creation.commit(pendingEntries());
    showMessage(result.message, title);
    if (!result.ok)
        return;
    m_inputs->clearInputs();
    m_lvwXJ->clear();
    m_inputs->resetCombos();
    close();
}

void frmAddConstructItem::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        clearAndReset();
        return;
    }
    EditorDialog::keyPressEvent(event);
}

void frmAddConstructItem::closeEvent(QCloseEvent *event)
{
    m_creation.release();
    EditorDialog::closeEvent(event);
}

} // namespace vorlane
