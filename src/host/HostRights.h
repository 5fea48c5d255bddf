#pragma once

#include "db/Connection.h"

#include <QString>
#include <QStringList>

namespace vorlane::host {

// Administration of the host's operators and rights in an account database. Every operation
// throws db::DbError with a readable reason when its input does not fit.
namespace rights {

// Adds an operator; a supervisor may run every function.
void addOperator(db::Connection &conn,
                 const QString &code,
                 const QString &name,
                 bool supervisor = false);
// Grants a function code to an operator. The grant covers every function whose code begins with
// it ("HM0101" grants all commands of the structure browser). Granting twice changes nothing.
void grant(db::Connection &conn, const QString &operatorCode, const QString &functionCode);
void revoke(db::Connection &conn, const QString &operatorCode, const QString &functionCode);
// The function codes granted to an operator, as stored.
QStringList grantsOf(db::Connection &conn, const QString &operatorCode);

} // namespace rights
} // namespace vorlane::host
