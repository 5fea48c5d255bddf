#include "frmAddModiArchiveItem.h"

#include "ArchiveBrowser.h"
#include "ArchiveClassActions.h"
#include "ArchiveItemActions.h"
#include "ArchiveQueries.h"

#include "common/EditorBoxes.h"
#include "common/WindowHelpers.h"
#include "entry/Defs.h"
#include "entry/MessageService.h"
#include "entry/mdlFunction.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace vorlane {

using archive::MessageTitle;

frmAddModiArchiveItem::frmAddModiArchiveItem(QWidget *parent)
    : ArchiveEditor(QStringLiteral("档案项"), parent)
    , m_txtCode(textBox(m_frame, QStringLiteral("txtCode")))
    , m_txtName(textBox(m_frame, QStringLiteral("txtName")))
    , m_txtDescription(textBox(m_frame, QStringLiteral("txtDescription")))
    , m_txtSpell(textBox(m_frame, QStringLiteral("txtSpell")))
    , m_txtMemo(textBox(m_frame, QStringLiteral("txtMemo")))
    , m_chkHide(
          named(new QCheckBox(QStringLiteral(" 隐    藏"), m_frame), QStringLiteral("chkHide")))
{
    setObjectName(QStringLiteral("frmAddModiArchiveItem"));

    QGridLayout *fields = captionedBoxes(m_frame,
                                         {
                                             {QStringLiteral("档案编码"), m_txtCode},
                                             {QStringLiteral("档案名称"), m_txtName},
                                             {QStringLiteral("档案简称"), m_txtDescription},
                                             {QStringLiteral("档案简拼"), m_txtSpell},
                                             {QStringLiteral("备    注"), m_txtMemo},
                                         });
    fields->addWidget(m_chkHide, fields->rowCount(), 1);
    addButtons();

    m_txtName->installEventFilter(this);
}

void frmAddModiArchiveItem::FormLoad()
{
    SetHelpContext(this);
    // Digits only for a new code; a stored code shows as it is.
    m_txtCode->setValidator(m_mode == u"M" ? nullptr : m_digits);
    clearFields();
    m_class
        = LoadArchiveClass(m_parent.tableCode, ClassKeySpelling::Mixed).value_or(clsHrSysSetDict{});
    m_code.reset();
    if (m_mode == u"M") {
        setWindowTitle(QStringLiteral("修改档案项"));
        m_txtCode->setEnabled(false);
        m_code = LoadArchiveCode(m_parent.tableCode, m_parent.parentCode);
        if (m_code) {
            bool numeric = false;
            const int hide = m_code->HideFlag().trimmed().toInt(&numeric);
            m_chkHide->setChecked(numeric && hide == 1);
            m_txtCode->setText(m_code->CodeId());
            m_txtName->setText(m_code->description());
            m_txtSpell->setText(m_code->SimpleSpell());
            m_txtDescription->setText(m_code->SimpleName());
            m_txtMemo->setText(m_code->Memo());
        }
    } else {
        setWindowTitle(QStringLiteral("增加档案项"));
        m_txtCode->setEnabled(true);
        m_txtCode->setText(m_parent.parentCode);
    }
    m_cmdOk->setEnabled(!Defs::instance().HMJZ);
}

void frmAddModiArchiveItem::clearFields()
{
    for (QLineEdit *box : {m_txtCode, m_txtName, m_txtDescription, m_txtSpell, m_txtMemo})
        box->clear();
    m_chkHide->setChecked(false);
}

ArchiveItemInput frmAddModiArchiveItem::input() const
{
    ArchiveItemInput fields;
    fields.code = m_txtCode->text();
    fields.name = m_txtName->text();
    fields.shortName = m_txtDescription->text();
    fields.spell = m_txtSpell->text();
    fields.memo = m_txtMemo->text();
    fields.hide = m_chkHide->isChecked() ? 1 : 0;
    return fields;
}

void frmAddModiArchiveItem::save()
{
    ArchiveBrowser *browser = ArchiveBrowser::open();
    const ArchiveItemInput fields = input();
    const ArchiveEditResult result
        = AddArchiveItem(m_parent, m_class, fields, browser, Defs::instance().OptFlag);
    if (!result.ok) {
        report(result);
        return;
    }
    if (browser)
        browser->AddCodeNode(
            m_parent.parentNodeKey,
            CodeKeyPart(m_parent.tableCode, fields.code.trimmed(), NewCodeLevel(m_parent)),
            fields.name.trimmed());
    showMessage(result.message, MessageTitle);
    // Ready for the next code under the same parent.
    clearFields();
    if (m_txtCode->isEnabled())
        m_txtCode->setFocus(Qt::OtherFocusReason);
}

void frmAddModiArchiveItem::saveModified()
{
    const ArchiveItemInput fields = input();
    const clsHrCT loaded = m_code.value_or(clsHrCT{});
    if (ArchiveEditResult check = CheckArchiveItemModify(m_parent.tableCode, loaded, fields);
        !check.ok) {
        report(check);
        return;
    }
    if (!confirmed(QStringLiteral("修改确认！"), MessageTitle, MsgIcon::Question))
        return;
    const ArchiveEditResult result = ModifyArchiveItem(m_parent.tableCode, loaded, fields);
    showMessage(result.message, MessageTitle);
    if (!result.ok)
        return;
    if (ArchiveBrowser *browser = ArchiveBrowser::open())
        browser->RefreshAfterEdit(browser->gridRow());
    close();
}

void frmAddModiArchiveItem::nameLeft()
{
    const QString name = m_txtName->text();
    m_txtSpell->setText(MakeSimpleSpell(name.trimmed()));
    m_txtDescription->setText(name);
    refuseIllegalText(m_txtName, MessageTitle, m_checkingName);
}

bool frmAddModiArchiveItem::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_txtName && leavesBox(event))
        nameLeft();
    return EditorDialog::eventFilter(watched, event);
}

} // namespace vorlane
