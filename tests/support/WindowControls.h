#pragma once

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace vorlane::test {

// A window's control by its objectName; a missing one stops the run, as the names are fixed.
template<class W = QWidget>
W *control(const QWidget *window, const QString &name)
{
    W *found = window->findChild<W *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

template<class W = QWidget>
W *control(const QWidget *window, const char *name)
{
    return control<W>(window, QString::fromLatin1(name));
}

inline void click(const QWidget *window, const char *button)
{
    control<QPushButton>(window, button)->click();
}

// Acts on the modal dialog of type T that the next call opens, once its event loop runs.
template<class T, class Act>
void onModalDialog(Act act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(dialog);
    });
}

// Runs a command that opens the dialog of type T modally (a single-instance window found by
// find()), acts on it while it is open, and closes it if the act left it open.
template<class T>
void withModalDialog(const std::function<T *()> &find,
                     const std::function<void()> &command,
                     const std::function<void(T *)> &act)
{
    bool acted = false;
    QTimer::singleShot(0, [&] {
        T *dialog = find();
        QVERIFY(dialog && dialog->isVisible());
        acted = true;
        act(dialog);
        if (dialog->isVisible())
            dialog->close();
    });
    command();
    QVERIFY(acted);
}

} // namespace vorlane::test
