#include "HostToolbar.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

namespace vorlane {

namespace {

struct ToolbarEntry
{
    QAction *action = nullptr; // nullptr for a separator
    QMenu *menu = nullptr;
};

// A window toolbar's buttons: plain actions, or tool buttons added as widgets (drop-down
// buttons carry their menu).
QList<ToolbarEntry> entriesOf(QToolBar *toolbar)
{
    QList<ToolbarEntry> entries;
    if (!toolbar)
        return entries;
    for (QAction *action : toolbar->actions()) {
        if (action->isSeparator()) {
            entries.append(ToolbarEntry{});
            continue;
        }
        if (auto *button = qobject_cast<QToolButton *>(toolbar->widgetForAction(action))) {
            QAction *buttonAction = button->defaultAction() ? button->defaultAction() : action;
            entries.append({buttonAction, button->menu()});
            continue;
        }
        entries.append({action, nullptr});
    }
    return entries;
}

} // namespace

HostToolbar::HostToolbar(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
{
    setObjectName(QStringLiteral("CTBCtrl1"));
    m_layout->setContentsMargins(12, 3, 6, 3);
    m_layout->setSpacing(2);
    m_layout->addStretch(1);
    setAttribute(Qt::WA_StyledBackground, false);
}

void HostToolbar::SetToolbar(QToolBar *toolbar)
{
    m_toolbar = toolbar;
    rebuild();
}

void HostToolbar::SetDisplayStyle(int style)
{
    m_displayStyle = style;
    update();
}

void HostToolbar::setSpecialEffect(bool on)
{
    m_specialEffect = on;
    update();
}

QStringList HostToolbar::toolbarKeys() const
{
    QStringList keys;
    for (const ToolbarEntry &entry : entriesOf(m_toolbar)) {
        if (entry.action)
            keys << entry.action->objectName();
    }
    return keys;
}

void HostToolbar::rebuild()
{
    for (QWidget *item : std::as_const(m_items)) {
        item->hide();
        item->deleteLater(); // may be the sender of the click being handled
    }
    m_items.clear();
    m_buttons.clear();
    m_menus.clear();
    m_keys.clear();

    int position = 0;
    for (const ToolbarEntry &entry : entriesOf(m_toolbar)) {
        if (!entry.action) {
            auto *line = new QFrame(this);
            line->setFrameShape(QFrame::VLine);
            line->setFrameShadow(QFrame::Sunken);
            m_layout->insertWidget(position++, line);
            m_items.append(line);
            continue;
        }
        const QString key = entry.action->objectName();
        auto *button = new QToolButton(this);
        button->setObjectName(key);
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setIconSize(QSize(24, 24));
        button->setMinimumWidth(52);
        connect(button, &QToolButton::clicked, this, [this, key] {
            Q_EMIT ButtonClick(key, QString());
        });
        if (entry.menu) {
            auto *menu = new QMenu(button);
            menu->setObjectName(key + u"Menu");
            for (QAction *source : entry.menu->actions()) {
                if (source->isSeparator()) {
                    menu->addSeparator();
                    continue;
                }
                QAction *copy = menu->addAction(source->icon(), source->text());
                const QString menuKey = source->objectName();
                copy->setObjectName(menuKey);
                connect(copy, &QAction::triggered, this, [this, key, menuKey] {
                    Q_EMIT ButtonClick(key, menuKey);
                });
            }
            button->setMenu(menu);
            button->setPopupMode(QToolButton::MenuButtonPopup);
            m_menus.insert(key, menu);
        }
        m_layout->insertWidget(position++, button);
        m_items.append(button);
        m_buttons.insert(key, button);
        m_keys << key;
    }
    sync();
    updateGeometry();
}

void HostToolbar::sync()
{
    for (const ToolbarEntry &entry : entriesOf(m_toolbar)) {
        if (!entry.action)
            continue;
        QToolButton *button = m_buttons.value(entry.action->objectName());
        if (!button)
            continue;
        button->setText(entry.action->text());
        button->setIcon(entry.action->icon());
        button->setToolTip(entry.action->toolTip());
        button->setEnabled(entry.action->isEnabled());
        button->setVisible(entry.action->isVisible());
        QMenu *menu = m_menus.value(entry.action->objectName());
        if (!menu || !entry.menu)
            continue;
        const QList<QAction *> sources = entry.menu->actions();
        const QList<QAction *> copies = menu->actions();
        for (int i = 0; i < sources.size() && i < copies.size(); ++i) {
            copies[i]->setText(sources[i]->text());
            copies[i]->setEnabled(sources[i]->isEnabled());
            copies[i]->setVisible(sources[i]->isVisible());
        }
    }
}

void HostToolbar::Refresh()
{
    if (toolbarKeys() != m_keys)
        rebuild();
    else
        sync();
}

QSize HostToolbar::sizeHint() const
{
    QSize hint = QWidget::sizeHint();
    hint.setHeight(std::max(hint.height(), 58));
    return hint;
}

void HostToolbar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect();
    QLinearGradient band(r.topLeft(), r.bottomLeft());
    band.setColorAt(0.0, QColor(0xF4, 0xF8, 0xFC));
    band.setColorAt(0.55, QColor(0xDD, 0xE8, 0xF3));
    band.setColorAt(1.0, QColor(0xC3, 0xD5, 0xE8));
    painter.fillRect(r, band);

    // Gripper at the left edge, as the host's bands have.
    painter.setPen(QColor(0x8A, 0xA4, 0xC0));
    for (int y = r.top() + 8; y < r.bottom() - 6; y += 4)
        painter.drawPoint(5, y);
    painter.setPen(Qt::white);
    for (int y = r.top() + 9; y < r.bottom() - 6; y += 4)
        painter.drawPoint(6, y);

    if (m_specialEffect) {
        painter.setPen(Qt::white);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(QColor(0x7F, 0x9D, 0xB9));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
}

} // namespace vorlane
