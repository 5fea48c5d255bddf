#include "ScriptedMessages.h"

namespace vorlane::test {

MsgResult ScriptedMessages::show(const Message &message)
{
    shown.append(message);
    if (!answers.isEmpty())
        return answers.takeFirst();
    return message.defaultButton;
}

MessageScope::MessageScope()
    : m_messages(std::make_shared<ScriptedMessages>())
{
    m_previous = setMessageService(m_messages);
}

MessageScope::~MessageScope()
{
    setMessageService(m_previous);
}

} // namespace vorlane::test
