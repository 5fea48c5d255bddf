#pragma once

#include <QString>

namespace vorlane {

class clsHrCT;

// Writes archive classes and items at the physical level: creates a code table (an HR_CT table)
// with its indexes and the dictionary rows of its standard columns, and inserts, updates and
// deletes its codes. The parent's child flag is the archive windows' business, never touched here.
//
// Codes are read per level and per parent and deleted by prefix, so a code table carries an
// index on ilevels and on cpCodeID besides its key; the key is case-insensitive, which lets the
// prefix LIKE use it.
//
// Stateless apart from the text of the last error, kept for diagnostics only. Runs on the login
// context's shared connection, opens no transaction and shows no message: every operation
// returns false on failure, leaving what already ran for the caller's transaction to roll back.
// Table names must be identifiers, codes must not carry LIKE pattern characters (% _ [ ]); text
// values are escaped.
class clsHrCTsFace
{
public:
    // (Re)creates the code table and registers its standard columns (hr_bd_fld rows of "HR_CT")
    // in hr_sys_itemdict.
    bool CreateTable(const QString &strTableName);
    // Inserts one code; the parent is not checked.
    bool Add(const clsHrCT &clsCt, const QString &strTable);
    // Rewrites one code and spreads its hide flag to every code that begins with it.
    bool Modify(const clsHrCT &clsCt, const QString &TableCode);
    // Deletes the code and every code that begins with it.
    bool Delete(const QString &TableCode, const QString &CodeId);

    // Why the last call on this object returned false; empty after a success.
    const QString &lastError() const { return m_lastError; }

private:
    bool RegisterCodeTableColumns(const QString &strTableName);

    QString m_lastError;
};

} // namespace vorlane
