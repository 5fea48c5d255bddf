#include "EditorBoxes.h"

#include "entry/MessageService.h"
#include "entry/mdlFunction.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
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

QPushButton *button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = named(new QPushButton(caption, parent), name);
    b->setAutoDefault(false);
    return b;
}

QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton *b : buttons)
        row->addWidget(b);
    return row;
}

QLineEdit *textBox(QWidget *parent, const QString &name)
{
    auto *box = named(new QLineEdit(parent), name);
    selectAllOnEntry(box);
    return box;
}

QGridLayout *captionedBoxes(QWidget *frame, const QList<std::pair<QString, QLineEdit *>> &rows)
{
    auto *grid = new QGridLayout(frame);
    for (int i = 0; i < rows.size(); ++i) {
        auto *label = new QLabel(rows[i].first, frame);
        label->setBuddy(rows[i].second);
        grid->addWidget(label, i, 0);
        grid->addWidget(rows[i].second, i, 1);
    }
    grid->setColumnStretch(1, 1);
    return grid;
}

void focusBox(QWidget *box)
{
    if (!box)
        return;
    box->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        edit->selectAll();
}

void focusBox(QWidget *dialog, const QString &objectName)
{
    if (!objectName.isEmpty())
        focusBox(dialog->findChild<QWidget *>(objectName));
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

void refuseIllegalText(QLineEdit *box, const QString &title, bool &checking)
{
    const QString text = box->text();
    if (checking || text.trimmed().isEmpty() || IsLegalText(text))
        return;
    checking = true;
    showMessage(QStringLiteral("含有非法字符，请重新输入！"), title);
    QTimer::singleShot(0, box, [box, &checking] {
        focusBox(box);
        checking = false;
    });
}

} // namespace vorlane
