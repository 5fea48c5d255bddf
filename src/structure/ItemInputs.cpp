#include "ItemInputs.h"

#include "ItemActions.h"

#include "common/EditorBoxes.h"
#include "common/KeyFilterValidator.h"
#include "common/WindowHelpers.h"
#include "entry/MessageService.h"
#include "entry/mdlFunction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace vorlane {

namespace {

const QString title = QStringLiteral("人事信息管理");

QLineEdit *lineEdit(QWidget *dialog, const char *name, int maxLength)
{
    QLineEdit *box = textBox(dialog, QString::fromLatin1(name));
    box->setMaxLength(maxLength);
    return box;
}

QComboBox *comboBox(QWidget *dialog, const char *name)
{
    return named(new QComboBox(dialog), QString::fromLatin1(name));
}

} // namespace

void selectComboEntry(QComboBox *combo, int index)
{
    combo->setCurrentIndex(index < combo->count() ? index : -1);
}

ItemInputs::ItemInputs(QWidget *dialog, Order order)
    : QObject(dialog)
    // Maximum lengths are the widths of the dictionary columns the texts end up in.
    , txtItemCode(lineEdit(dialog, "txtItemCode", 50))
    , txtItemName(lineEdit(dialog, "txtItemName", 60))
    , txtDescription(lineEdit(dialog, "txtDescription", 100))
    , cboType(comboBox(dialog, "cboType"))
    , cboRef(comboBox(dialog, "cboRef"))
    , cboDc(comboBox(dialog, "cboDc"))
    , txtNumLen(lineEdit(dialog, "txtNumLen", 9))
    , txtDecLen(lineEdit(dialog, "txtDecLen", 9))
    , cboBl(comboBox(dialog, "cboBl"))
    , cboNull(comboBox(dialog, "cboNull"))
    , txtDefault(lineEdit(dialog, "txtDefault", 2000))
    , cboFormat(comboBox(dialog, "cboFormat"))
    , txtMemo(lineEdit(dialog, "txtMemo", 100))
    , txtShowOrder(lineEdit(dialog, "txtShowOrder", 4))
    , chkDisplay(named(new QCheckBox(QStringLiteral("显示"), dialog), QStringLiteral("chkDisplay")))
    , chkDefine(named(new QCheckBox(QStringLiteral("自定义"), dialog), QStringLiteral("chkDefine")))
    , m_layout(new QGridLayout)
    , m_dialog(dialog)
{
    // A text the filter would not let through is refused whole.
    constexpr auto whole = KeyFilterValidator::Mode::RefuseWhole;
    txtItemCode->setValidator(KeyFilterValidator::codes(whole, txtItemCode));
    for (QLineEdit *box : {txtNumLen, txtDecLen, txtShowOrder})
        box->setValidator(KeyFilterValidator::digits(whole, box));
    txtDefault->setValidator(new KeyFilterValidator(
        [this](const QString &text) {
            return ItemRules::defaultAccepts(CodePart(cboType->currentText()), text);
        },
        whole,
        txtDefault));

    if (order == Order::LastLevelFirst)
        cboDc->addItems({QStringLiteral("1-录入最底层"), QStringLiteral("0-录入任意层")});
    else
        cboDc->addItems({QStringLiteral("0-录入任意层"), QStringLiteral("1-录入最底层")});
    cboBl->addItems({QStringLiteral("0-不是必录"), QStringLiteral("1-必录")});
    cboNull->addItems({QStringLiteral("0-能"), QStringLiteral("1-不能")});
    cboNull->setEnabled(false);

    const auto row = [this, dialog](int r, int c, const QString &text, QWidget *field) {
        auto *label = new QLabel(text, dialog);
        label->setBuddy(field);
        m_layout->addWidget(label, r, c * 2);
        m_layout->addWidget(field, r, c * 2 + 1);
    };
    row(0, 0, QStringLiteral("信息项代码"), txtItemCode);
    row(0, 1, QStringLiteral("信息项名称"), txtItemName);
    row(1, 0, QStringLiteral("描述"), txtDescription);
    row(1, 1, QStringLiteral("数据类型"), cboType);
    row(2, 0, QStringLiteral("数据长度"), txtNumLen);
    row(2, 1, QStringLiteral("小数长度"), txtDecLen);
    row(3, 0, QStringLiteral("参照对象"), cboRef);
    row(3, 1, QStringLiteral("录入最底层"), cboDc);
    row(4, 0, QStringLiteral("是否必录"), cboBl);
    row(4, 1, QStringLiteral("能否为空"), cboNull);
    row(5, 0, QStringLiteral("默认值"), txtDefault);
    row(5, 1, QStringLiteral("数据格式"), cboFormat);
    row(6, 0, QStringLiteral("备注"), txtMemo);
    row(6, 1, QStringLiteral("显示顺序"), txtShowOrder);
    m_layout->addWidget(chkDisplay, 7, 1);
    m_layout->addWidget(chkDefine, 7, 3);
    m_layout->setColumnStretch(1, 1);
    m_layout->setColumnStretch(3, 1);

    for (QLineEdit *box : {txtItemCode, txtItemName, txtNumLen})
        connect(box, &QLineEdit::editingFinished, this, [this, box] { leaveCheck(box); });
    connect(cboBl, &QComboBox::currentIndexChanged, this, &ItemInputs::followRequired);
    connect(cboNull, &QComboBox::activated, this, &ItemInputs::followRequired);
}

void ItemInputs::clearCombos()
{
    for (QComboBox *combo : {cboType, cboRef, cboFormat})
        combo->clear();
}

void ItemInputs::fillCombos(const ItemLists &lists)
{
    clearCombos();
    cboType->addItems(lists.typeEntries());
    cboRef->addItems(lists.refEntries());
    cboFormat->addItems(lists.formatEntries());
}

void ItemInputs::clearInputs()
{
    for (QLineEdit *box : {txtItemCode,
                           txtItemName,
                           txtDescription,
                           txtNumLen,
                           txtDecLen,
                           txtDefault,
                           txtMemo,
                           txtShowOrder})
        box->clear();
    txtItemCode->setEnabled(true);
    chkDisplay->setChecked(true);
    chkDefine->setChecked(true);
}

void ItemInputs::resetCombos()
{
    for (QComboBox *combo : {cboType, cboRef, cboDc, cboBl, cboNull, cboFormat})
        selectComboEntry(combo, 0);
    applyTypeLayout();
}

void ItemInputs::applyTypeLayout()
{
    const TypeLayout l = ItemRules::typeLayout(CodePart(cboType->currentText()));
    txtNumLen->setEnabled(l.numLenEnabled);
    txtNumLen->setText(l.numLen);
    txtDecLen->setEnabled(l.decLenEnabled);
    txtDecLen->clear();
    cboFormat->setEnabled(l.formatEnabled);
    switch (l.format) {
    case FormatChoice::First:
        selectComboEntry(cboFormat, 0);
        break;
    case FormatChoice::CodeTwo:
        selectComboEntry(cboFormat, FindComboIndex(QStringLiteral("2"), cboFormat, false));
        break;
    case FormatChoice::Second:
        selectComboEntry(cboFormat, 1);
        break;
    }
    cboRef->setEnabled(l.refEnabled);
    selectComboEntry(cboRef, l.refFirstSet ? 1 : 0);
    txtDefault->setEnabled(l.defaultEnabled);
    txtDefault->clear();
    txtDefault->setMaxLength(ItemRules::defaultMaxLength(CodePart(cboType->currentText())));
}

ItemInput ItemInputs::read() const
{
    ItemInput in;
    in.code = txtItemCode->text();
    in.name = txtItemName->text();
    in.description = txtDescription->text();
    in.type = cboType->currentText();
    in.ref = cboRef->currentText();
    in.lastLevel = cboDc->currentText();
    in.numLen = txtNumLen->text();
    in.decLen = txtDecLen->text();
    in.required = cboBl->currentText();
    in.nullable = cboNull->currentText();
    in.defaultValue = txtDefault->text();
    in.format = cboFormat->currentText();
    in.memo = txtMemo->text();
    in.showOrder = txtShowOrder->text();
    in.display = chkDisplay->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    in.define = chkDefine->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    return in;
}

void ItemInputs::write(const ItemInput &entry)
{
    selectComboEntry(cboType, FindComboIndex(CodePart(entry.type), cboType, false));
    applyTypeLayout();
    selectComboEntry(cboRef, FindComboIndex(NamePart(entry.ref), cboRef, true));
    selectComboEntry(cboDc, FindComboIndex(CodePart(entry.lastLevel), cboDc, false));
    selectComboEntry(cboBl, FindComboIndex(CodePart(entry.required), cboBl, false));
    selectComboEntry(cboNull, FindComboIndex(CodePart(entry.nullable), cboNull, false));
    selectComboEntry(cboFormat, FindComboIndex(CodePart(entry.format), cboFormat, false));

    txtItemCode->setText(entry.code);
    txtItemName->setText(entry.name);
    txtDescription->setText(entry.description);
    txtNumLen->setText(entry.numLen);
    txtDecLen->setText(entry.decLen);
    txtDefault->setText(entry.defaultValue);
    txtMemo->setText(entry.memo);
    txtShowOrder->setText(entry.showOrder);
    chkDisplay->setChecked(ItemRules::wholeNumber(entry.display, 0) != 0);
    chkDefine->setChecked(ItemRules::wholeNumber(entry.define, 0) != 0);
}

QWidget *ItemInputs::widgetFor(ItemField field) const
{
    switch (field) {
    case ItemField::ItemCode:
        return txtItemCode;
    case ItemField::ItemName:
        return txtItemName;
    case ItemField::Description:
        return txtDescription;
    case ItemField::Type:
        return cboType;
    case ItemField::Ref:
        return cboRef;
    case ItemField::LastLevel:
        return cboDc;
    case ItemField::NumLen:
        return txtNumLen;
    case ItemField::DecLen:
        return txtDecLen;
    case ItemField::Required:
        return cboBl;
    case ItemField::Nullable:
        return cboNull;
    case ItemField::Default:
        return txtDefault;
    case ItemField::Format:
        return cboFormat;
    case ItemField::Memo:
        return txtMemo;
    case ItemField::ShowOrder:
        return txtShowOrder;
    case ItemField::None:
        break;
    }
    return nullptr;
}

void ItemInputs::focusField(ItemField field)
{
    QWidget *w = widgetFor(field);
    if (w && w->isEnabled())
        focusBox(w);
}

void ItemInputs::leaveCheck(QLineEdit *box)
{
    // The message box takes the focus and would end the editing a second time.
    if (m_checking || !box->isEnabled())
        return;
    RuleResult failure;
    if (box == txtItemCode) {
        failure = ItemRules::codeFieldCheck(box->text());
    } else if (box == txtItemName) {
        failure = ItemRules::nameFieldCheck(box->text());
    } else {
        QString length = box->text();
        failure = ItemRules::numLenFieldCheck(length);
        if (length != box->text() && !box->text().trimmed().isEmpty())
            box->setText(length);
    }
    if (!failure)
        return;
    m_checking = true;
    showMessage(failure->message, title);
    m_checking = false;
    focusField(failure->focus);
}

void ItemInputs::followRequired()
{
    selectComboEntry(cboNull, CodePart(cboBl->currentText()) == u"1" ? 1 : 0);
}

} // namespace vorlane
