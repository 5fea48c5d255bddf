#pragma once

#include "db/DbError.h"

#include <QString>

namespace vorlane::services {

// Raised for input that must never reach a statement (a malformed identifier, an unparsable
// number). Derives from DbError so that every caller that traps database errors traps it too.
class SqlInputError : public db::DbError
{
public:
    using db::DbError::DbError;
};

// A text value for a place between single quotes: every quote doubled, nothing else touched,
// so any Unicode text round-trips.
QString sqlText(const QString &value);

// True when name matches [A-Za-z_][A-Za-z0-9_]*.
bool isIdentifier(const QString &name);

// Returns name without its surrounding blanks when the rest is an identifier (codes read from
// fixed-width host columns come padded, "HR001   "); otherwise throws SqlInputError naming what
// (`what`, e.g. "表名") was rejected.
QString checkedIdentifier(const QString &name, const QString &what = QString());

// A code as the text of a LIKE prefix that matches only the code itself: the pattern characters
// of the server (_ % [) in the bracket form ("[_]", "[%]", "[[]"), quotes doubled. The SQLite
// translator maps the bracket form to an ESCAPE clause.
QString likePrefixText(const QString &code);

// A whole decimal number written in a statement; throws SqlInputError for anything else.
int checkedWholeNumber(const QString &text, const QString &what);

} // namespace vorlane::services
