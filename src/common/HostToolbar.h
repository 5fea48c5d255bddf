#pragma once

#include <QHash>
#include <QPointer>
#include <QToolBar>
#include <QWidget>

class QHBoxLayout;
class QMenu;
class QToolButton;

namespace vorlane {

// The host's toolbar band (CTBCtrl1): shows the buttons of a window's own toolbar in the host's
// look (a shaded band with large buttons) and reports clicks as a button key and, for an entry
// of a button menu, the entry's key.
class HostToolbar : public QWidget
{
    Q_OBJECT

public:
    explicit HostToolbar(QWidget *parent = nullptr);

    // Takes over the buttons of the toolbar (keys are the objectNames of the buttons' actions
    // and menu entries).
    void SetToolbar(QToolBar *toolbar);
    QToolBar *toolbar() const { return m_toolbar; }

    // 1: the band carries the buttons; 2: the window shows its own toolbar. 0 before either.
    void SetDisplayStyle(int style);
    int GetToolbarStyle() const { return m_displayStyle; }

    bool SpecialEffect() const { return m_specialEffect; }
    void setSpecialEffect(bool on);

    // Re-reads the toolbar's buttons: texts, images, enabled and visible states, new buttons.
    void Refresh();

    QToolButton *button(const QString &key) const { return m_buttons.value(key); }
    QStringList buttonKeys() const { return m_keys; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void ButtonClick(const QString &buttonKey, const QString &menuKey);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void rebuild();
    void sync();
    QStringList toolbarKeys() const;

    QPointer<QToolBar> m_toolbar;
    QHBoxLayout *m_layout;
    QHash<QString, QToolButton *> m_buttons;
    QHash<QString, QMenu *> m_menus;
    QStringList m_keys;
    QList<QWidget *> m_items;
    int m_displayStyle = 0;
    bool m_specialEffect = false;
};

} // namespace vorlane
