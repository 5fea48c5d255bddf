#pragma once

#include <QString>

#include <memory>

namespace vorlane {

enum class MsgIcon { None, Information, Question, Warning, Critical };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

struct Message
{
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::Information;
    MsgButtons buttons = MsgButtons::Ok;
    MsgResult defaultButton = MsgResult::Ok;
};

// Every message box of the component goes through the installed service. The application
// installs one that shows real boxes; tests install a scripted one.
class MessageService
{
public:
    virtual ~MessageService() = default;
    virtual MsgResult show(const Message &message) = 0;
};

MessageService &messageService();
// Installs a service and returns the one it replaces (nullptr for the built-in default).
std::shared_ptr<MessageService> setMessageService(std::shared_ptr<MessageService> service);

// Shorthand used by windows and entry objects.
MsgResult showMessage(const QString &text,
                      const QString &title,
                      MsgIcon icon = MsgIcon::Information,
                      MsgButtons buttons = MsgButtons::Ok,
                      MsgResult defaultButton = MsgResult::Ok);

} // namespace vorlane
