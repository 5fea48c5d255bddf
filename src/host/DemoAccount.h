#pragma once

#include "db/Connection.h"

namespace vorlane::host {

// Creates every table of the demo account database and its seed data. Idempotent: running it
// on an account database that already has them changes nothing, and one made by an earlier
// version is upgraded. Throws db::DbError.
void createDemoAccount(db::Connection &conn);

// The statements createDemoAccount runs on SQL Server, as one T-SQL script: a header comment, then
// each statement followed by a line "GO", so that sqlcmd and FreeTDS's tools run it batch by batch.
QString demoAccountScript();

// Brings the host tables of an account database made by an earlier version up to date, in one
// transaction. A current database, one without a recorded version and an engine without a demo
// account are left alone. Throws db::DbError.
void upgradeAccount(db::Connection &conn);

// Whether the database is an account database: it has the dictionary and the host's operators.
bool isAccountDatabase(db::Connection &conn);

// Whether the database has no user table at all (a new file, an empty server database), so that a
// demo account database may be created in it. Throws db::DbError for an engine without a demo.
bool isEmptyDatabase(db::Connection &conn);

} // namespace vorlane::host
