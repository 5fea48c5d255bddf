#pragma once

#include "db/Connection.h"

namespace vorlane::host {

// Creates every table of the demo account database and its seed data. Idempotent: running it
// on an account database that already has them changes nothing. Throws db::DbError.
void createDemoAccount(db::Connection &conn);

} // namespace vorlane::host
