#pragma once

#include "entry/MessageService.h"

namespace vorlane {

// Shows each message as a modal QMessageBox over the active window.
class QtMessageService : public MessageService
{
public:
    MsgResult show(const Message &message) override;
};

// What the application installs at start-up: real message boxes and a file dialog for exports.
void installWindowServices();

} // namespace vorlane
