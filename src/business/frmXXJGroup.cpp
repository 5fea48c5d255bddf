#include "frmXXJGroup.h"

#include "CategoryMembers.h"
#include "frmOperationFlowUI.h"

#include "common/BrowserFrame.h"
#include "common/EditorBoxes.h"
#include "entry/Defs.h"
#include "entry/mdlFunction.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorlane {

frmXXJGroup::frmXXJGroup(QWidget *parent)
    : EditorDialog(Load::ByLauncher, parent)
    , m_frame1(named(new QGroupBox(this), QStringLiteral("Frame1")))
    , m_label1(named(new QLabel(QStringLiteral("信息集类别"), m_frame1), QStringLiteral("Label1")))
    , m_cboLb(named(new QComboBox(m_frame1), QStringLiteral("cboLb")))
    , m_lstXxj(named(new QListWidget(m_frame1), QStringLiteral("lstXxj")))
    , m_cmdSel(button(this, QStringLiteral("cmdSel"), QStringLiteral("全选(&X)")))
    , m_command2(button(this, QStringLiteral("Command2"), QStringLiteral("全清(&Q)")))
    , m_cmdOk(button(this, QStringLiteral("cmdOk"), QStringLiteral("确定(&S)")))
    , m_cmdQuit(button(this, QStringLiteral("cmdQuit"), QStringLiteral("放弃(&C)")))
{
    setObjectName(QStringLiteral("frmXXJGroup"));
    setWindowTitle(QStringLiteral("信息集设置"));
    m_lstXxj->setSelectionMode(QAbstractItemView::MultiSelection);

    auto *groupRow = new QHBoxLayout;
    groupRow->addWidget(m_label1);
    groupRow->addWidget(m_cboLb, 1);
    auto *frameLayout = new QVBoxLayout(m_frame1);
    frameLayout->addLayout(groupRow);
    frameLayout->addWidget(m_lstXxj, 1);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {m_cmdSel, m_command2, m_cmdOk, m_cmdQuit})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_frame1, 1);
    layout->addLayout(buttons);
    resize(460, 360);

    connect(m_cboLb, &QComboBox::activated, this, [this] { loadSets(); });
    connect(m_cmdSel, &QPushButton::clicked, this, [this] { selectAll(true); });
    connect(m_command2, &QPushButton::clicked, this, [this] { selectAll(false); });
    connect(m_cmdOk, &QPushButton::clicked, this, [this] { save(); });
    connect(m_cmdQuit, &QPushButton::clicked, this, &QDialog::reject);
}

void frmXXJGroup::FormLoad()
{
    m_categoryCode = m_categoryCode.trimmed();
    m_categoryName = m_categoryName.trimmed();
    m_frame1->setTitle(m_categoryName);
    setWindowIcon(BrowserFrame::windowIcon106());

    m_cboLb->clear();
    m_lstXxj->clear();
    m_cboLb->addItems(business::offeredGroups(Defs::instance().conn(), m_categoryCode));
    if (m_cboLb->count() > 0) {
        m_cboLb->setCurrentIndex(0);
        loadSets();
    }

    const bool open = !Defs::instance().HMJZ;
    m_cmdOk->setEnabled(open);
    m_command2->setEnabled(open);
    m_cmdSel->setEnabled(open);
}

void frmXXJGroup::loadSets()
{
    db::Connection &conn = Defs::instance().conn();
    m_lstXxj->clear();
    m_lstXxj->addItems(business::setsOfGroup(conn, CodePart(m_cboLb->currentText())));
    const QStringList members = business::memberCodes(conn, m_categoryCode);
    for (int i = 0; i < m_lstXxj->count(); ++i) {
        const QString code = NamePart(m_lstXxj->item(i)->text()).toUpper();
        for (const QString &member : members)
            if (member.toUpper() == code)
                m_lstXxj->item(i)->setSelected(true);
    }
    m_lstXxj->setCurrentItem(nullptr, QItemSelectionModel::NoUpdate);
}

void frmXXJGroup::selectAll(bool selected)
{
    for (int i = 0; i < m_lstXxj->count(); ++i)
        m_lstXxj->item(i)->setSelected(selected);
    m_lstXxj->setCurrentItem(nullptr, QItemSelectionModel::NoUpdate);
}

void frmXXJGroup::save()
{
    if (m_lstXxj->count() == 0)
        return;
    QStringList codes;
    for (int i = 0; i < m_lstXxj->count(); ++i)
        if (m_lstXxj->item(i)->isSelected())
            codes << NamePart(m_lstXxj->item(i)->text());
    // A failed save says nothing and keeps the dialog open; the old assignments stay.
    if (!business::saveMembers(
            Defs::instance().conn(), m_categoryCode, CodePart(m_cboLb->currentText()), codes))
        return;
    if (m_browser)
        m_browser->RefreshMembers();
    accept();
}

} // namespace vorlane
