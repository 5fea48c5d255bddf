#pragma once

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

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

} // namespace vorlane::test
