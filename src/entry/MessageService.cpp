#include "MessageService.h"

#include <cstdio>

namespace vorlane {

namespace {

// Without a user interface there is nobody to ask: the message goes to stderr and the box
// answers with its default button, as if the user had pressed Enter.
class StderrMessageService final : public MessageService
{
public:
    MsgResult show(const Message &message) override
    {
        QString line = message.text;
        if (!message.title.isEmpty())
            line = message.title + u": " + message.text;
        std::fprintf(stderr, "%s\n", line.toUtf8().constData());
        std::fflush(stderr);
        return message.defaultButton;
    }
};

std::shared_ptr<MessageService> &installedService()
{
    static std::shared_ptr<MessageService> service;
    return service;
}

} // namespace

MessageService &messageService()
{
    if (const auto &installed = installedService())
        return *installed;
    static StderrMessageService fallback;
    return fallback;
}

std::shared_ptr<MessageService> setMessageService(std::shared_ptr<MessageService> service)
{
    std::shared_ptr<MessageService> previous = std::move(installedService());
    installedService() = std::move(service);
    return previous;
}

MsgResult showMessage(const QString &text,
                      const QString &title,
                      MsgIcon icon,
                      MsgButtons buttons,
                      MsgResult defaultButton)
{
    Message message;
    message.text = text;
    message.title = title;
    message.icon = icon;
    message.buttons = buttons;
    message.defaultButton = defaultButton;
    return messageService().show(message);
}

} // namespace vorlane
