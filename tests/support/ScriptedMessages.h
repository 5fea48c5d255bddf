#pragma once

#include "entry/MessageService.h"

#include <QList>

#include <memory>

namespace vorlane::test {

// Records every message and answers from a script (then with the default button).
class ScriptedMessages : public MessageService
{
public:
    MsgResult show(const Message &message) override;

    QList<Message> shown;
    QList<MsgResult> answers;

    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }
};

// Installs a ScriptedMessages for the scope of a test and restores the previous service.
class MessageScope
{
public:
    MessageScope();
    ~MessageScope();
    ScriptedMessages &operator*() { return *m_messages; }
    ScriptedMessages *operator->() { return m_messages.get(); }

private:
    std::shared_ptr<ScriptedMessages> m_messages;
    std::shared_ptr<MessageService> m_previous;
};

} // namespace vorlane::test
