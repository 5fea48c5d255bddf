#pragma once

#include "db/Connection.h"

namespace vorlane::host {

// Creates every table of the demo account database and its seed data. Idempotent: running it
// on an account database that already has them changes nothing. Throws db::DbError.
void createDemoAccount(db::Connection &conn);

// True when the database holds no table at all: a new account database that the demo account
// may fill. Throws db::DbError.
bool isEmptyDatabase(db::Connection &conn);

} // namespace vorlane::host
