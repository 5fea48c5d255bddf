#include "frmFind.h"

#include "BrowserFrame.h"
#include "EditorBoxes.h"
#include "HelpViewer.h"

#include "entry/MessageService.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorlane {

const QString frmFind::InfoSetContext = QStringLiteral("信息集");
const QString frmFind::ArchiveClassContext = QStringLiteral("档案类");

bool FindMatches(const QString &text,
                 const QString &findOperator,
                 const QString &value,
                 Qt::CaseSensitivity containsCase)
{
    if (findOperator == u"等于")
        return text.toUpper() == value.toUpper();
    if (findOperator == u"不等于")
        return text.toUpper() != value.toUpper();
    if (findOperator == u"包含")
        return text.contains(value, containsCase);
    if (findOperator == u"不包含")
        return !text.contains(value, containsCase);
    return false;
}

frmFind::frmFind(QWidget *parent)
    : EditorDialog(Load::ByLauncher, parent)
    , m_label1(new QLabel(QStringLiteral("查询字段"), this))
    , m_cboField(new QComboBox(this))
    , m_label3(new QLabel(QStringLiteral("符   号"), this))
    , m_cboSign(new QComboBox(this))
    , m_label4(new QLabel(QStringLiteral("字段取值"), this))
    , m_txtValue(new QLineEdit(this))
    , m_cmdOk(new QPushButton(QStringLiteral("确定(&S)"), this))
    , m_cmdExit(new QPushButton(QStringLiteral("取消(&C)"), this))
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("定位"));
    setModal(true);
    setWindowIcon(BrowserFrame::windowIcon106());

    m_label1->setObjectName(QStringLiteral("Label1"));
    m_cboField->setObjectName(QStringLiteral("cboField"));
    m_label3->setObjectName(QStringLiteral("Label3"));
    m_cboSign->setObjectName(QStringLiteral("cboSign"));
    m_label4->setObjectName(QStringLiteral("Label4"));
    m_txtValue->setObjectName(QStringLiteral("txtValue"));
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdExit->setObjectName(QStringLiteral("cmdExit"));
    m_label1->setBuddy(m_cboField);
    m_label3->setBuddy(m_cboSign);
    m_label4->setBuddy(m_txtValue);
    m_cmdOk->setDefault(true);
    m_cmdExit->setAutoDefault(false);

    auto *fields = new QGridLayout;
    fields->addWidget(m_label1, 0, 0);
    fields->addWidget(m_cboField, 0, 1);
    fields->addWidget(m_label3, 1, 0);
    fields->addWidget(m_cboSign, 1, 1);
    fields->addWidget(m_label4, 2, 0);
    fields->addWidget(m_txtValue, 2, 1);
    fields->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addLayout(buttonRow({m_cmdOk, m_cmdExit}));
    setMinimumWidth(320);

    connect(m_cmdOk, &QPushButton::clicked, this, &frmFind::cmdOkClick);
    connect(m_cmdExit, &QPushButton::clicked, this, &QDialog::reject);
    installHelpKey(this);
    FormLoad();
}

bool frmFind::run(QWidget *parent, const QString &context, FindState &state)
{
    frmFind dialog(parent);
    dialog.prepare(context, &state);
    return dialog.exec() == QDialog::Accepted;
}

void frmFind::prepare(const QString &context, FindState *state)
{
    m_state = state;
    setContext(context);
}

void frmFind::setContext(const QString &context)
{
    m_context = context;
    FormLoad();
}

void frmFind::FormLoad()
{
    m_cboField->clear();
    if (m_context == ArchiveClassContext)
        m_cboField->addItems({QStringLiteral("档案类名称"), QStringLiteral("档案类代码")});
    else if (m_context == InfoSetContext)
        m_cboField->addItems({QStringLiteral("信息集名称"), QStringLiteral("信息集代码")});
    if (m_cboField->count() > 0)
        m_cboField->setCurrentIndex(0);

    m_cboSign->clear();
    m_cboSign->addItems({QStringLiteral("等于"),
                         QStringLiteral("不等于"),
                         QStringLiteral("包含"),
                         QStringLiteral("不包含")});
    m_cboSign->setCurrentIndex(0);
    m_txtValue->clear();

    // Opening the dialog forgets the archive browser's last search.
    if (m_state && m_context == ArchiveClassContext)
        m_state->clear();
}

void frmFind::cmdOkClick()
{
    if (m_txtValue->text().trimmed().isEmpty()) {
        showMessage(QStringLiteral("没有输入匹配值！"), QStringLiteral("操作提示"));
        return;
    }
    if (m_context == ArchiveClassContext || m_context == InfoSetContext) {
        const QString field = m_cboField->currentText();
        const QString sign = m_cboSign->currentText();
        const QString value = m_txtValue->text();
        if (m_state) {
            m_state->FindField = field;
            m_state->FindOperator = sign;
            m_state->FindValue = value;
        }
        Q_EMIT findRequested(field, sign, value);
    }
    accept();
}

} // namespace vorlane
