#include "EditorDialog.h"

#include <QKeyEvent>
#include <QShowEvent>

namespace vorlane {

EditorDialog::EditorDialog(Load load, QWidget *parent)
    : QDialog(parent)
    , m_load(load)
{}

void EditorDialog::showEvent(QShowEvent *event)
{
    if (m_load == Load::OnShow && !event->spontaneous())
        FormLoad();
    QDialog::showEvent(event);
}

void EditorDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F4 && event->modifiers() == Qt::ControlModifier) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool confirmed(const QString &question, const QString &title, MsgIcon icon)
{
    return showMessage(question, title, icon, MsgButtons::OkCancel, MsgResult::Cancel)
           == MsgResult::Ok;
}

} // namespace vorlane
