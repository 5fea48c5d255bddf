#include "ArchiveEditor.h"

#include "ArchiveQueries.h"

#include "common/BrowserFrame.h"
#include "common/EditorBoxes.h"
#include "common/HelpViewer.h"
#include "common/KeyFilterValidator.h"
#include "entry/MessageService.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorlane {

ArchiveEditor::ArchiveEditor(const QString &frameCaption, QWidget *parent)
    : EditorDialog(Load::OnShow, parent)
    , m_digits(KeyFilterValidator::digits(KeyFilterValidator::Mode::DropSwallowed, this))
    , m_frame(named(new QGroupBox(frameCaption, this), QStringLiteral("Frame1")))
{
    setWindowIcon(BrowserFrame::windowIcon106());
}

void ArchiveEditor::addButtons()
{
    m_cmdOk = named(new QPushButton(QStringLiteral("确  定(&S)"), this), QStringLiteral("cmdOk"));
    m_cmdQuit = button(this, QStringLiteral("cmdQuit"), QStringLiteral("放  弃(&C)"));
    m_cmdOk->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_frame);
    layout->addLayout(buttonRow({m_cmdOk, m_cmdQuit}));
    setMinimumWidth(380);

    connect(m_cmdOk, &QPushButton::clicked, this, [this] {
        if (m_mode == u"M")
            saveModified();
        else
            save();
    });
    connect(m_cmdQuit, &QPushButton::clicked, this, &QWidget::close);
    installHelpKey(this);
}

void ArchiveEditor::report(const ArchiveEditResult &result)
{
    if (!result.message.isEmpty())
        showMessage(result.message, archive::MessageTitle);
    focusBox(this, result.focus);
}

} // namespace vorlane
