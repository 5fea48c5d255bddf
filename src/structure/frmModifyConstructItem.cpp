#include "frmModifyConstructItem.h"

#include "ItemInputs.h"

#include "common/BrowserFrame.h"
#include "common/EditorBoxes.h"
#include "common/HelpViewer.h"
#include "common/WindowHelpers.h"
#include "entry/Defs.h"
#include "entry/MessageService.h"
#include "entry/mdlFunction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorlane {

namespace {

const QString title = QStringLiteral("人事信息管理");

} // namespace

frmModifyConstructItem::frmModifyConstructItem(QWidget *parent)
    : EditorDialog(Load::ByLauncher, parent)
    , m_inputs(new ItemInputs(this, ItemInputs::Order::AnyLevelFirst))
    , m_cmdOk(button(this, QStringLiteral("cmdOk"), QStringLiteral("确  定(&S)")))
    , m_cmdQuit(button(this, QStringLiteral("cmdQuit"), QStringLiteral("放  弃(&C)")))
{
    setObjectName(QStringLiteral("frmModifyConstructItem"));
    setWindowTitle(QStringLiteral("修改信息项"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_inputs->layout());
    layout->addStretch(1);
    layout->addLayout(buttonRow({m_cmdOk, m_cmdQuit}));
    resize(700, 300);

    connect(m_cmdOk, &QPushButton::clicked, this, &frmModifyConstructItem::cmdOkClick);
    connect(m_cmdQuit, &QPushButton::clicked, this, &QWidget::close);
    installHelpKey(this);
}

void frmModifyConstructItem::setTableCode(const QString &tableCode)
{
    m_tableCode = tableCode;
}

void frmModifyConstructItem::setItemCode(const QString &itemCode)
{
    m_modification.prepare(m_tableCode, itemCode);
    FormLoad();
}

void frmModifyConstructItem::FormLoad()
{
    SetHelpContext(this);
    setWindowIcon(BrowserFrame::windowIcon106());

    m_inputs->clearCombos();
    m_inputs->clearInputs();
    // The code names the column; it and what the column's type fixes stay as they are.
    for (QWidget *w : std::initializer_list<QWidget *>{m_inputs->txtItemCode,
                                                       m_inputs->cboType,
                                                       m_inputs->txtNumLen,
                                                       m_inputs->txtDecLen,
                                                       m_inputs->cboRef,
                                                       m_inputs->cboNull,
                                                       m_inputs->cboBl,
                                                       m_inputs->cboFormat,
                                                       m_inputs->txtDefault})
        w->setEnabled(false);
    m_inputs->chkDefine->setVisible(Defs::instance().OptFlag != 1);

    m_modification.load();
    m_inputs->fillCombos(m_modification.lists());
    showRecord();
    setWindowTitle(QStringLiteral("修改信息项"));
    m_cmdOk->setEnabled(!Defs::instance().HMJZ);
}

void frmModifyConstructItem::showRecord()
{
    ItemInputs &in = *m_inputs;
    in.cboBl->setEnabled(true);
    if (!m_modification.hasRecord()) {
        for (QComboBox *combo :
             {in.cboType, in.cboRef, in.cboDc, in.cboBl, in.cboNull, in.cboFormat})
            selectComboEntry(combo, -1);
        return;
    }
    const clsHrSysItemDict &r = m_modification.record();
    in.txtItemCode->setText(r.ItemCode());
    in.txtItemName->setText(r.itemname());
    in.txtDescription->setText(r.description());
    selectComboEntry(in.cboType, FindComboIndex(r.itemtype().trimmed(), in.cboType, false));

    const QString type = r.itemtype().trimmed();
    // Types 1 and 2 are both text columns whose width an alter statement can change.
    if (type == u"1" || type == u"2") {
        in.txtNumLen->setEnabled(true);
    } else if (type == u"4") {
        in.txtNumLen->setEnabled(true);
        in.txtDecLen->setEnabled(true);
    } else if (type == u"5") {
        in.cboFormat->setEnabled(true);
    } else if (type == u"9") {
        in.cboRef->setEnabled(!m_modification.columnHasData());
    }

    selectComboEntry(in.cboRef, FindComboIndex(r.ReferenceObj(), in.cboRef, true));
    selectComboEntry(in.cboDc, FindComboIndex(r.LastLevelFalg().trimmed(), in.cboDc, false));
    selectComboEntry(in.cboBl, FindComboIndex(QString::number(r.rflag()), in.cboBl, false));
    selectComboEntry(in.cboNull, FindComboIndex(QString::number(r.nflag()), in.cboNull, false));
    selectComboEntry(in.cboFormat, FindComboIndexByName(r.sformat(), in.cboFormat));

    in.txtNumLen->setText(r.itemlen());
    in.txtDecLen->setText(r.itemdec());
    in.txtDefault->setText(r.sdefault());
    in.txtShowOrder->setText(QString::number(r.ShowOrder()));
    in.chkDisplay->setChecked(r.Display() != 0);
    in.chkDefine->setChecked(r.sFlag() != 0);
    in.txtMemo->setText(r.Memo());
}

void frmModifyConstructItem::cmdOkClick()
{
    const ItemInput input = m_inputs->read();
    const ActionResult check = m_modification.check(input);
    if (!check.ok) {
        showMessage(check.message, title);
        m_inputs->focusField(check.focus);
        return;
    }
    if (!confirmed(QStringLiteral("请确认修改！"), title))
        return;
    const ActionResult result = m_modification.commit(input);
    showMessage(result.message, title);
    if (result.ok)
        close();
}

void frmModifyConstructItem::closeEvent(QCloseEvent *event)
{
    m_modification.release();
    EditorDialog::closeEvent(event);
}

} // namespace vorlane
