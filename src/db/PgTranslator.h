#pragma once

#include "TranslatedStep.h"

#include <QList>
#include <QString>

namespace vorlane::db {

// One statement of a translated T-SQL batch for PostgreSQL (always a native one).
using PgStep = TranslatedStep;

// Rewrites the component's T-SQL for PostgreSQL with SQL Server's meaning. Shares the rewriter
// (TsqlRewriter.h) with the SQLite translation: quoted strings and comments are never rewritten.
//
// Text columns become citext (contrib), so that =, LIKE, ORDER BY and keys compare without case
// as under a *_CI_* collation; their length is kept by a CHECK constraint named after the
// column. bit becomes smallint holding 0 and 1 (smallint and tinyint become integer, so that a
// smallint on the wire is always a bit and reads as a Boolean field).
class PgTranslator
{
public:
    static QList<PgStep> translate(const QString &tsql);

    // The PostgreSQL type of a T-SQL declared type ("varchar(20)" -> "citext"); `length` gets the
    // character limit that a CHECK must keep (0: none).
    static QString columnType(const QString &tsqlType, int *length = nullptr);
    // The length constraint of a text column: characters for nchar and nvarchar, bytes of code
    // page 936 for char and varchar, as the server counts them; empty for other types.
    static QString lengthConstraintName(const QString &column);
    static QString lengthConstraint(const QString &column, const QString &declaredType);

    // A blank string literal assigned to a column is marked by a comment in front of it,
    // /*vorlane:blank:table:column*/'', so that the dialect can give it the server's meaning
    // (0 in a number column) once it knows the column's type.
    static QString blankMarker(const QString &table, const QString &column);
    static bool parseBlankMarker(const QString &comment, QString *table, QString *column);
};

} // namespace vorlane::db
