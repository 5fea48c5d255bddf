#include "LauncherWindow.h"

#include <QEvent>
#include <QEventLoop>

namespace vorlane {

namespace {

// Ends a modal loop when its window is hidden (closing hides it).
class CloseWatcher : public QObject
{
public:
    CloseWatcher(QWidget *window, QEventLoop *loop)
        : m_window(window)
        , m_loop(loop)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Hide && !m_window->isVisible())
            m_loop->quit();
        return false;
    }

private:
    QWidget *m_window;
    QEventLoop *m_loop;
};

} // namespace

void showWindow(QWidget *window, int nModal, QWidget *owner)
{
    if (owner && window->parentWidget() != owner)
        window->setParent(owner, window->windowFlags() | Qt::Window);

    if (nModal != 1) {
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
    if (window->isVisible())
        throw WindowError(QStringLiteral("窗口已经显示，不能再以模式方式显示").toStdString());

    QPointer<QWidget> guard(window);
    QEventLoop loop;
    CloseWatcher watcher(window, &loop);
    // A window deleted on close (or with its owner) ends the loop as well.
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
    window->activateWindow();
    loop.exec(QEventLoop::DialogExec);
    if (guard) {
        window->removeEventFilter(&watcher);
        window->setWindowModality(Qt::NonModal);
    }
}

} // namespace vorlane
