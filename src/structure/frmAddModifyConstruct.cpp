#include "frmAddModifyConstruct.h"

#include "common/BrowserFrame.h"
#include "common/EditorBoxes.h"
#include "common/KeyFilterValidator.h"
#include "common/WindowHelpers.h"
#include "db/DbError.h"
#include "entry/Defs.h"
#include "entry/MessageService.h"
#include "entry/mdlFunction.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

namespace vorlane {

namespace {

void say(const QString &text)
{
    showMessage(text, SetEditorActions::Title, MsgIcon::Information);
}

QString errorText(const std::exception &e)
{
    if (const auto *dbError = dynamic_cast<const db::DbError *>(&e))
        return dbError->message();
    return QString::fromLocal8Bit(e.what());
}

} // namespace

frmAddModifyConstruct::frmAddModifyConstruct(QWidget *parent)
    : EditorDialog(Load::OnShow, parent)
{
    setObjectName(QStringLiteral("frmAddModifyConstruct"));
    setWindowIcon(BrowserFrame::windowIcon106());
    buildControls();

    connect(cboType, &QComboBox::currentIndexChanged, this, [this] { typeOrCycleClick(); });
    connect(cboCycle, &QComboBox::currentIndexChanged, this, [this] { typeOrCycleClick(); });
    connect(cboTableClass, &QComboBox::currentIndexChanged, this, [this] { tableClassClick(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOkClick(); });
    connect(cmdQuit, &QPushButton::clicked, this, &QWidget::close);
}

void frmAddModifyConstruct::buildControls()
{
    SSTab1 = named(new QTabWidget(this), QStringLiteral("SSTab1"));
    Frame1 = named(new QFrame, QStringLiteral("Frame1"));
    Frame2 = named(new QFrame, QStringLiteral("Frame2"));
    SSTab1->addTab(Frame1, QStringLiteral("信息集属性(&J)"));
    SSTab1->addTab(Frame2, QStringLiteral("信息卡片适用功能设置(&F)"));

    const auto label = [](const QString &name, const QString &caption) {
        return named(new QLabel(caption), name);
    };
    const auto box = [](const QString &name) { return textBox(nullptr, name); };
    Label1 = label(QStringLiteral("Label1"), QStringLiteral("信息集代码"));
    txtCode = box(QStringLiteral("txtCode"));
    Label2 = label(QStringLiteral("Label2"), QStringLiteral("信息集名称"));
    txtName = box(QStringLiteral("txtName"));
    Label3 = label(QStringLiteral("Label3"), QStringLiteral("描    述"));
    txtDescription = box(QStringLiteral("txtDescription"));
    Label4 = label(QStringLiteral("Label4"), QStringLiteral("信息集类型"));
    cboType = named(new QComboBox, QStringLiteral("cboType"));
    Label5 = label(QStringLiteral("Label5"), QStringLiteral("周期类型"));
    cboCycle = named(new QComboBox, QStringLiteral("cboCycle"));
    Label6 = label(QStringLiteral("Label6"), QStringLiteral("父表名称"));
    txtPtable = box(QStringLiteral("txtPtable"));
    Label7 = label(QStringLiteral("Label7"), QStringLiteral("备    注"));
    txtMemo = box(QStringLiteral("txtMemo"));
    Label9 = label(QStringLiteral("Label9"), QStringLiteral("应用表分类"));
    cboTableClass = named(new QComboBox, QStringLiteral("cboTableClass"));
    Label10 = label(QStringLiteral("Label10"), QStringLiteral("显示顺序"));
    txtShowOrder = box(QStringLiteral("txtShowOrder"));
    chkSys = named(new QCheckBox(QStringLiteral("自定义")), QStringLiteral("chkSys"));
    chkDisplay = named(new QCheckBox(QStringLiteral("显示")), QStringLiteral("chkDisplay"));
    lblNote = label(QStringLiteral("lblNote"), QStringLiteral("系统信息集不能修改保存"));
    Label8 = label(QStringLiteral("Label8"), QStringLiteral("适用功能范围设置"));
    lstFunc = named(new QListWidget, QStringLiteral("lstFunc"));
    lstFunc->setSelectionMode(QAbstractItemView::MultiSelection);
    cmdOk = button(nullptr, QStringLiteral("cmdOk"), QStringLiteral("确  定(&S)"));
    cmdQuit = button(nullptr, QStringLiteral("cmdQuit"), QStringLiteral("放  弃(&C)"));

    txtCode->setValidator(
        KeyFilterValidator::codes(KeyFilterValidator::Mode::DropSwallowed, txtCode));
    txtShowOrder->setValidator(
        KeyFilterValidator::digits(KeyFilterValidator::Mode::DropSwallowed, txtShowOrder));
    const QPair<QLabel *, QWidget *> rows[] = {{Label1, txtCode},
                                               {Label2, txtName},
                                               {Label3, txtDescription},
                                               {Label4, cboType},
                                               {Label5, cboCycle},
                                               {Label9, cboTableClass},
                                               {Label10, txtShowOrder},
                                               {Label6, txtPtable},
                                               {Label7, txtMemo}};
    auto *grid = new QGridLayout(Frame1);
    int row = 0;
    for (const auto &[caption, field] : rows) {
        caption->setBuddy(field);
        grid->addWidget(caption, row, 0);
        grid->addWidget(field, row++, 1);
    }
    auto *checks = new QHBoxLayout;
    checks->addWidget(chkSys);
    checks->addWidget(chkDisplay);
    checks->addStretch(1);
    grid->addLayout(checks, row++, 1);
    grid->addWidget(lblNote, row++, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);

    auto *functions = new QVBoxLayout(Frame2);
    functions->addWidget(Label8);
    functions->addWidget(lstFunc);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttonRow({cmdOk, cmdQuit}));

    txtCode->installEventFilter(this);
    txtName->installEventFilter(this);
    resize(460, 420);
}

void frmAddModifyConstruct::FormLoad()
{
    try {
        load();
    } catch (const std::exception &e) {
        m_loading = false;
        say(errorText(e));
    }
}

// A reused dialog starts every show from the state it was built with.
void frmAddModifyConstruct::resetControls()
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             txtCode, cboType, cboCycle, cboTableClass, lstFunc, cmdOk})
        w->setEnabled(true);
    txtShowOrder->clear();
    chkSys->setChecked(false);
    chkDisplay->setChecked(false);
}

void frmAddModifyConstruct::load()
{
    m_loading = true;
    resetControls();
    SSTab1->setCurrentIndex(0);
    lblNote->hide();
    const Defs &defs = Defs::instance();
    chkSys->setVisible(defs.OptFlag != 1);
    loadLists();

    if (m_actions.EditMode == u"M") {
        setWindowTitle(QStringLiteral("修改信息集"));
        txtCode->setEnabled(false);
        if (m_actions.EditSysFlag != u"0") {
            cmdOk->setEnabled(!defs.HMJZ);
            lblNote->hide();
            cboTableClass->setEnabled(false);
        } else {
            for (QWidget *w :
                 std::initializer_list<QWidget *>{cboType, cboCycle, cboTableClass, cmdOk})
                w->setEnabled(false);
            lblNote->show();
        }
        loadSet();
    } else if (m_actions.EditMode == u"A") {
        setWindowTitle(QStringLiteral("增加信息集"));
        txtCode->setEnabled(true);
        cmdOk->setEnabled(!defs.HMJZ);
        chkSys->setChecked(true);
        chkDisplay->setChecked(true);
        txtPtable->setText(m_actions.defaultParentTable());
    }
    m_loading = false;
}

void frmAddModifyConstruct::loadLists()
{
    for (QLineEdit *b : {txtCode, txtName, txtDescription, txtPtable, txtMemo})
        b->clear();
    for (QComboBox *c : {cboType, cboCycle, cboTableClass}) {
        const QSignalBlocker blocker(c);
        c->clear();
    }
    lstFunc->clear();
    Label6->hide();
    txtPtable->hide();

    // Selecting the first entries runs the type rule, as a click would.
    cboType->addItems(SetEditorActions::typeEntries());
    cboType->setCurrentIndex(0);
    cboCycle->addItems(SetEditorActions::cycleEntries());
    cboCycle->setCurrentIndex(0);

    m_actions.loadLists(Defs::instance().OptFlag);
    lstFunc->addItems(m_actions.functionEntries());
    lstFunc->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    const QStringList classes = m_actions.tableClassEntries();
    cboTableClass->addItems(classes);
    if (!classes.isEmpty())
        cboTableClass->setCurrentIndex(0);
}

void frmAddModifyConstruct::loadSet()
{
    const auto set = m_actions.loadSet();
    if (!set)
        return;
    for (int row : m_actions.functionRowsOfScope(set->FunctionFlag()))
        lstFunc->item(row)->setSelected(true);
    // The stored code as it is: filtering it could point the save at another set.
    const QValidator *codeFilter = txtCode->validator();
    txtCode->setValidator(nullptr);
    txtCode->setText(set->TableCode());
    txtCode->setValidator(codeFilter);
    txtName->setText(set->TableName());
    txtDescription->setText(set->description());
    txtPtable->setText(set->ParentTable());
    for (const auto &[combo, code] : {std::pair{cboTableClass, set->TableClass()},
                                      std::pair{cboCycle, set->CycleType()},
                                      std::pair{cboType, set->TableType()}})
        combo->setCurrentIndex(FindComboIndex(code, combo, false));
    txtShowOrder->setText(set->ShowOrder());
    bool numeric = false;
    const int sys = set->sFlag().trimmed().toInt(&numeric);
    chkSys->setChecked(!numeric || sys != 0);
    chkDisplay->setChecked(set->Display() != 0);
    txtMemo->setText(set->Memo());
}

void frmAddModifyConstruct::typeOrCycleClick()
{
    const QString type = CodePart(cboType->currentText());
    if (type == u"1" || type == u"2") {
        cboCycle->setEnabled(false);
        if (cboCycle->count() > 0)
            cboCycle->setCurrentIndex(0);
    } else {
        cboCycle->setEnabled(true);
        if (cboCycle->currentIndex() == 0 && cboCycle->count() > 1)
            cboCycle->setCurrentIndex(1);
    }
}

void frmAddModifyConstruct::tableClassClick()
{
    // With OptFlag 1 only class 1 may be chosen.
    if (m_loading || Defs::instance().OptFlag != 1)
        return;
    for (int i = 0; i < cboTableClass->count(); ++i) {
        if (CodePart(cboTableClass->itemText(i)) == u"1") {
            cboTableClass->setCurrentIndex(i);
            return;
        }
    }
}

bool frmAddModifyConstruct::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    const QWidget *next = QApplication::focusWidget();
    // Confirming checks the boxes itself and quitting needs no check.
    if ((box == txtCode || box == txtName) && leavesBox(event) && next != cmdOk && next != cmdQuit)
        QTimer::singleShot(0, box, [this, box] { leaveBox(box); });
    return EditorDialog::eventFilter(watched, event);
}

void frmAddModifyConstruct::leaveBox(QLineEdit *box)
{
    if (!isVisible() || !box->isEnabled())
        return;
    const SetEditResult r = box == txtCode ? SetEditorActions::leaveCode(box->text())
                                           : SetEditorActions::leaveName(box->text());
    if (!r.ok)
        showResult(r);
}

SetEditorInput frmAddModifyConstruct::input() const
{
    SetEditorInput in;
    in.code = txtCode->text();
    in.name = txtName->text();
    in.description = txtDescription->text();
    in.parentTable = txtPtable->text();
    in.memo = txtMemo->text();
    in.showOrder = txtShowOrder->text();
    in.typeText = cboType->currentText();
    in.cycleText = cboCycle->currentText();
    in.classText = cboTableClass->currentText();
    for (int i = 0; i < lstFunc->count(); ++i) {
        if (lstFunc->item(i)->isSelected())
            in.selectedFunctions << lstFunc->item(i)->text();
    }
    in.functionsEnabled = lstFunc->isEnabled();
    in.sysValue = chkSys->isChecked() ? 1 : 0;
    in.displayValue = chkDisplay->isChecked() ? 1 : 0;
    return in;
}

void frmAddModifyConstruct::cmdOkClick()
{
    const bool adding = m_actions.EditMode == u"A";
    if (!adding && m_actions.EditMode != u"M")
        return;
    try {
        const SetEditorInput in = input();
        SetEditResult r;
        if (adding) {
            r = m_actions.add(in);
        } else {
            r = m_actions.checkModify(in);
            if (!r.ok) {
                showResult(r);
                return;
            }
            if (!confirmed(QStringLiteral("修改确认！"), SetEditorActions::Title))
                return;
            r = m_actions.modify(in);
        }
        showResult(r);
        if (r.ok) {
            if (adding)
                m_actions.afterAdd();
            close();
        }
    } catch (const std::exception &e) {
        say(errorText(e));
    }
}

void frmAddModifyConstruct::showResult(const SetEditResult &result)
{
    if (!result.message.isEmpty())
        say(result.message);
    if (QLineEdit *box = boxOf(result.focus)) {
        SSTab1->setCurrentWidget(Frame1);
        focusBox(box);
    }
}

QLineEdit *frmAddModifyConstruct::boxOf(SetField field) const
{
    switch (field) {
    case SetField::Code:
        return txtCode;
    case SetField::Name:
        return txtName;
    case SetField::Description:
        return txtDescription;
    case SetField::ParentTable:
        return txtPtable;
    case SetField::Memo:
        return txtMemo;
    case SetField::None:
        break;
    }
    return nullptr;
}

} // namespace vorlane
