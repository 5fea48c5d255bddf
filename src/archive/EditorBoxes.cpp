#include "EditorBoxes.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace vorlane {

namespace {

class SelectOnEntry : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            // A click places the cursor after the focus arrives; select once it has.
            QPointer<QLineEdit> box = qobject_cast<QLineEdit *>(watched);
            QTimer::singleShot(0, box, [box] {
                if (box && box->hasFocus())
                    box->selectAll();
            });
        }
        return false;
    }
};

} // namespace

void focusBox(QWidget *dialog, const QString &objectName)
{
    if (objectName.isEmpty())
        return;
    QWidget *box = dialog->findChild<QWidget *>(objectName);
    if (!box)
        return;
    box->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        edit->selectAll();
}

void selectAllOnEntry(QLineEdit *box)
{
    box->installEventFilter(new SelectOnEntry(box));
}

bool leavesBox(const QEvent *event)
{
    if (event->type() != QEvent::FocusOut)
        return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace vorlane
