#include "QtMessageService.h"

#include "FileChooser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace vorlane {

namespace {

QMessageBox::Icon boxIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton boxButton(MsgResult result)
{
    switch (result) {
    case MsgResult::Ok:
        return QMessageBox::Ok;
    case MsgResult::Cancel:
        return QMessageBox::Cancel;
    case MsgResult::Yes:
        return QMessageBox::Yes;
    case MsgResult::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

} // namespace

MsgResult QtMessageService::show(const Message &message)
{
    QMessageBox box(boxIcon(message.icon),
                    message.title,
                    message.text,
                    QMessageBox::NoButton,
                    QApplication::activeWindow());
    QList<MsgResult> results;
    switch (message.buttons) {
    case MsgButtons::Ok:
        results = {MsgResult::Ok};
        break;
    case MsgButtons::OkCancel:
        results = {MsgResult::Ok, MsgResult::Cancel};
        break;
    case MsgButtons::YesNo:
        results = {MsgResult::Yes, MsgResult::No};
        break;
    case MsgButtons::YesNoCancel:
        results = {MsgResult::Yes, MsgResult::No, MsgResult::Cancel};
        break;
    }
    for (MsgResult result : results) {
        QAbstractButton *button = box.addButton(boxButton(result));
        if (result == MsgResult::Ok)
            button->setText(QStringLiteral("确定"));
        else if (result == MsgResult::Cancel)
            button->setText(QStringLiteral("取消"));
        else if (result == MsgResult::Yes)
            button->setText(QStringLiteral("是"));
        else if (result == MsgResult::No)
            button->setText(QStringLiteral("否"));
    }
    if (results.contains(message.defaultButton))
        box.setDefaultButton(boxButton(message.defaultButton));
    if (results.contains(MsgResult::Cancel))
        box.setEscapeButton(QMessageBox::Cancel);
    else if (results.contains(MsgResult::No))
        box.setEscapeButton(QMessageBox::No);
    else
        box.setEscapeButton(QMessageBox::Ok);

    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    default:
        break;
    }
    // Closed without a button: the escape answer.
    if (results.contains(MsgResult::Cancel))
        return MsgResult::Cancel;
    if (results.contains(MsgResult::No))
        return MsgResult::No;
    return MsgResult::Ok;
}

void installWindowServices()
{
    setMessageService(std::make_shared<QtMessageService>());
    setFileChooser(std::make_shared<DialogFileChooser>());
}

} // namespace vorlane
