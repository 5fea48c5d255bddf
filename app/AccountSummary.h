#pragma once

#include "db/Connection.h"

#include <QString>

namespace vorlane::app {

// What the application prints about the account database it opened.
struct AccountSummary
{
    int groups = 0;
    int sets = 0;
    int items = 0;
    int codeTables = 0;
};

// Counts live dictionary rows (rows flagged as deleted are left out).
AccountSummary summarize(db::Connection &conn);

} // namespace vorlane::app
