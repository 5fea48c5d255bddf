#include "frmAddModifyArchive.h"

#include "ArchiveBrowser.h"
#include "ArchiveQueries.h"

#include "common/EditorBoxes.h"
#include "common/KeyFilterValidator.h"
#include "common/WindowHelpers.h"
#include "entry/Defs.h"
#include "entry/MessageService.h"
#include "entry/mdlFunction.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace vorlane {

using archive::MessageTitle;

namespace {

int checked(const QCheckBox *box)
{
    return box->isChecked() ? 1 : 0;
}

} // namespace

frmAddModifyArchive::frmAddModifyArchive(QWidget *parent)
    : ArchiveEditor(QStringLiteral("档案类"), parent)
    , m_txtCode(textBox(m_frame, QStringLiteral("txtCode")))
    , m_txtName(textBox(m_frame, QStringLiteral("txtName")))
    , m_txtDescription(textBox(m_frame, QStringLiteral("txtDescription")))
    , m_txtMemo(textBox(m_frame, QStringLiteral("txtMemo")))
    , m_txtShowOrder(textBox(m_frame, QStringLiteral("txtShowOrder")))
    , m_chkLevels(
          named(new QCheckBox(QStringLiteral("分级"), m_frame), QStringLiteral("chkLevels")))
    , m_chkHide(named(new QCheckBox(QStringLiteral("显示"), m_frame), QStringLiteral("chkHide")))
    , m_chkSys(named(new QCheckBox(QStringLiteral("自定义"), m_frame), QStringLiteral("chkSys")))
{
    setObjectName(QStringLiteral("frmAddModifyArchive"));
    m_txtShowOrder->setValidator(
        KeyFilterValidator::digits(KeyFilterValidator::Mode::DropSwallowed, m_txtShowOrder));

    QGridLayout *fields = captionedBoxes(m_frame,
                                         {
                                             {QStringLiteral("类别编码"), m_txtCode},
                                             {QStringLiteral("类别名称"), m_txtName},
                                             {QStringLiteral("简要描述"), m_txtDescription},
                                             {QStringLiteral("备    注"), m_txtMemo},
                                             {QStringLiteral("显示顺序"), m_txtShowOrder},
                                         });
    auto *flags = new QHBoxLayout;
    flags->addWidget(m_chkLevels);
    flags->addWidget(m_chkHide);
    flags->addWidget(m_chkSys);
    flags->addStretch(1);
    fields->addLayout(flags, fields->rowCount(), 0, 1, 2);
    addButtons();

    m_txtCode->installEventFilter(this);
    m_txtName->installEventFilter(this);
}

void frmAddModifyArchive::FormLoad()
{
    SetHelpContext(this);
    const Defs &defs = Defs::instance();
    m_chkSys->setVisible(defs.OptFlag == 0);

    m_record.reset();
    // Digits only while the box holds a class number; in modify mode it shows the table code.
    m_txtCode->setValidator(m_mode == u"M" ? nullptr : m_digits);
    setInput(ArchiveClassInput{});
    if (m_mode == u"M") {
        setWindowTitle(QStringLiteral("修改档案类"));
        m_txtCode->setEnabled(false);
        m_record = LoadArchiveClass(m_tableCode);
        if (m_record)
            setInput(ArchiveClassFields(*m_record));
        m_chkLevels->setEnabled(!HasCodesBelowTopLevel(m_tableCode));
    } else {
        setWindowTitle(QStringLiteral("增加档案类"));
        m_txtCode->setEnabled(false);
        m_txtCode->setText(NextArchiveClassNumber());
        m_chkLevels->setEnabled(true);
    }
    m_cmdOk->setEnabled(!defs.HMJZ);
}

ArchiveClassInput frmAddModifyArchive::input() const
{
    ArchiveClassInput fields;
    fields.code = m_txtCode->text();
    fields.name = m_txtName->text();
    fields.description = m_txtDescription->text();
    fields.memo = m_txtMemo->text();
    fields.showOrder = m_txtShowOrder->text();
    fields.levels = checked(m_chkLevels);
    fields.hide = checked(m_chkHide);
    fields.sys = checked(m_chkSys);
    return fields;
}

void frmAddModifyArchive::setInput(const ArchiveClassInput &fields)
{
    m_txtCode->setText(fields.code);
    m_txtName->setText(fields.name);
    m_txtDescription->setText(fields.description);
    m_txtMemo->setText(fields.memo);
    m_txtShowOrder->setText(fields.showOrder);
    m_chkLevels->setChecked(fields.levels == 1);
    m_chkHide->setChecked(fields.hide == 1);
    m_chkSys->setChecked(fields.sys == 1);
}

void frmAddModifyArchive::save()
{
    ArchiveBrowser *browser = ArchiveBrowser::open();
    const ArchiveClassInput fields = input();
    const ArchiveEditResult result = AddArchiveClass(fields, browser ? browser->gridRows() : 0);
    if (!result.ok) {
        report(result);
        return;
    }
    if (browser)
        browser->AddClassNode(QStringLiteral("HR_CT") + fields.code.trimmed() + u'^'
                                  + QString::number(fields.levels),
                              fields.name.trimmed());
    showMessage(result.message, MessageTitle);
    close();
}

void frmAddModifyArchive::saveModified()
{
    const ArchiveClassInput fields = input();
    const clsHrSysSetDict loaded = m_record.value_or(clsHrSysSetDict{});
    if (ArchiveEditResult check = CheckArchiveClassModify(loaded, fields); !check.ok) {
        report(check);
        return;
    }
    if (!confirmed(QStringLiteral("修改确认！"), MessageTitle, MsgIcon::Question))
        return;
    const ArchiveEditResult result = ModifyArchiveClass(loaded, fields, Defs::instance().OptFlag);
    showMessage(result.message, MessageTitle);
    if (!result.ok)
        return;
    if (ArchiveBrowser *browser = ArchiveBrowser::open()) {
        browser->RefreshAfterEdit(browser->gridRow());
        if (browser->selectedNodeKey().startsWith(u'R'))
            browser->setSelectedNodeText(ClassNodeText(fields.name, fields.code));
    }
    close();
}

bool frmAddModifyArchive::eventFilter(QObject *watched, QEvent *event)
{
    if (leavesBox(event)) {
        if (watched == m_txtCode) {
            bool numeric = false;
            const int number = m_txtCode->text().trimmed().toInt(&numeric);
            if (numeric)
                m_txtCode->setText(FormatClassNumber(number));
        } else if (watched == m_txtName) {
            refuseIllegalText(m_txtName, MessageTitle, m_checkingName);
        }
    }
    return EditorDialog::eventFilter(watched, event);
}

} // namespace vorlane
