#pragma once

#include <QPointer>
#include <QWidget>

#include <stdexcept>

namespace vorlane {

// A window that cannot be shown the way it was asked for (for instance modally while it is
// already open modeless). Passes to the launcher's caller.
class WindowError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

template<class W>
QPointer<W> &windowSlot()
{
    static QPointer<W> window;
    return window;
}

// The one instance of a window class, created at first use and reused by every later launch.
template<class W>
W *windowInstance()
{
    QPointer<W> &window = windowSlot<W>();
    if (!window)
        window = new W();
    return window;
}

// The instance if it has been created (and not deleted since), without creating it.
template<class W>
W *existingWindowInstance()
{
    return windowSlot<W>();
}

// Shows a window as the launchers do: nModal 1 shows it modally and returns when it is closed;
// 0 shows it modeless and returns at once. A given owner becomes its parent, keeping it a window.
void showWindow(QWidget *window, int nModal, QWidget *owner);

} // namespace vorlane
