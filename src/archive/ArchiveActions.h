#pragma once

#include <QString>

#include <functional>

namespace vorlane::archive {

// The archive browser's checks and deletes. Each delete runs in one transaction on the shared
// connection and returns whether it succeeded and the message to show (empty: show nothing, as
// for a cancelled confirmation or a check that ends the command silently). An unexpected error
// rolls the transaction back and its description becomes the message.
struct ActionResult
{
    bool ok = false;
    QString message;
    // The deleted code's or class's tree node is to go (not when a class was only flagged).
    bool removeNode = false;
};

// Asks the user an OK/Cancel question (Cancel the default); true for OK.
using Confirm = std::function<bool(const QString &question)>;

// Whether the class admits child codes (bMultiLevel 1). Throws db::DbError.
bool IsMultiLevelClass(const QString &tableCode);
// System code or class (bsysflag 0): protected from deleting. Throw db::DbError.
bool IsSystemItem(const QString &tableCode, const QString &code);
bool IsSystemClass(const QString &tableCode);
// Whether any column that refers to the code table (an item whose reference object it is)
// holds the code. Throws db::DbError.
bool IsCodeInUse(const QString &tableCode, const QString &code);

// Deletes the code and every code below it, unless it is a system code or in use.
ActionResult
DeleteArchiveItem(const QString &tableCode, const QString &code, int level, const Confirm &confirm);
// Deletes the class (item rows, dictionary row and code table), or only flags it as deleted
// when an information item refers to it.
ActionResult DeleteArchiveClass(const QString &tableCode, const Confirm &confirm);

} // namespace vorlane::archive
