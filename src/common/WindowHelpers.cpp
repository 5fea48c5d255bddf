#include "WindowHelpers.h"

#include "BrowserFrame.h"
#include "Twips.h"

#include "entry/Defs.h"
#include "entry/mdlFunction.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

namespace vorlane {

namespace {

constexpr const char *HelpContextProperty = "HelpContextID";

QStringList comboEntries(const QComboBox *combo)
{
    QStringList entries;
    if (!combo)
        return entries;
    entries.reserve(combo->count());
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    return entries;
}

} // namespace

int FindComboIndex(const QString &text, const QComboBox *combo, bool byName)
{
    return FindComboIndex(text, comboEntries(combo), byName);
}

int FindComboIndexByName(const QString &text, const QComboBox *combo)
{
    return FindComboIndexByName(text, comboEntries(combo));
}

void ShowStatusBar(QStatusBar *statusBar)
{
    if (!statusBar)
        return;
    const QList<StatusBarPanel> panels = StatusBarTexts();
    for (int i = 0; i < panels.size(); ++i) {
        const QString name = QStringLiteral("Panel%1").arg(i + 1);
        auto *label = statusBar->findChild<QLabel *>(name);
        if (!label) {
            label = new QLabel(statusBar);
            label->setObjectName(name);
            label->setFrameShape(QFrame::StyledPanel);
            label->setFrameShadow(QFrame::Sunken);
            label->setContentsMargins(4, 0, 4, 0);
            // The first panel takes what the others leave.
            statusBar->addWidget(label, i == 0 ? 1 : 0);
        }
        label->setText(panels[i].text);
        if (panels[i].width >= 0) {
            // The panel's width, widened where the font would cut its text off.
            const QMargins margins = label->contentsMargins();
            const int needed = label->fontMetrics().horizontalAdvance(panels[i].text)
                               + margins.left() + margins.right() + 2 * label->frameWidth() + 2;
            label->setFixedWidth(std::max(panels[i].width, needed));
        }
    }
}

void SetHelpContext(QWidget *window)
{
    if (window)
        window->setProperty(HelpContextProperty, HelpContextNumber());
}

int HelpContextOf(const QWidget *window)
{
    return window ? window->property(HelpContextProperty).toInt() : 0;
}

void ApplyToolbarStyle(BrowserFrame *window)
{
    if (!window)
        return;
    HostToolbar *band = window->CTBCtrl1();
    QToolBar *toolbar = window->Toolbar1();
    const int style = Defs::instance().MenueStyleID;
    if (style == 1) {
        if (band->GetToolbarStyle() != 1) {
            band->SetToolbar(toolbar);
            band->setSpecialEffect(true);
            band->SetDisplayStyle(1);
            toolbar->hide();
            band->show();
            band->move(band->x(), 0);
        }
    } else if (style == 2) {
        band->SetDisplayStyle(2);
        toolbar->show();
        band->hide();
        band->move(band->x(), 0);
    } else {
        return;
    }

    QFrame *separator = window->fraSep();
    separator->show();
    const QWidget *area = window->canvas();
    separator->setGeometry(twipsToPixelsX(window, -20),
                           toolbar->y() + toolbar->height(),
                           area->width() + twipsToPixelsX(window, 200),
                           std::max(1, twipsToPixelsY(window, 35)));
    separator->raise();
}

} // namespace vorlane
