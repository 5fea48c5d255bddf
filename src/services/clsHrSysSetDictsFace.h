#pragma once

#include <QString>

namespace vorlane {

class clsHrSysSetDict;

// Writes information sets: the hr_sys_setdict row, the physical table, the report catalogue
// (Rpt_GRPDEF), the authorisation catalogue (AA_BusObject) and the category memberships.
//
// Stateless apart from the text of the last error, kept for diagnostics only. Runs on the login
// context's shared connection, opens no transaction and shows no message: every operation
// returns false on failure, leaving what already ran for the caller's transaction to roll back.
// Set codes must be identifiers; text values are escaped.
class clsHrSysSetDictsFace
{
public:
    // (Re)creates table strTableName with the key columns of the kind named by sNodeKey: a group
    // token ("R1" person, "R2" department, "R3" duty, "R4" job, anything else key-only) or a set
    // node key ("C" + token + "^" + ...). An existing table of that name is dropped first.
    bool CreateTable(const QString &strTableName, const QString &sNodeKey);
    // Drops the table when it exists. Unlike the other operations it lets errors through
    // (db::DbError), an invalid name included.
    bool DropTable(const QString &strTableName);
    // Inserts the dictionary row and the Rpt_GRPDEF row, and the AA_BusObject row when
    // bWriteToBusObject is true (authorisation off for table type "5", else Display).
    bool Add(const clsHrSysSetDict &clsDict, const QString &sTableType, bool bWriteToBusObject);
    // Rewrites the dictionary and Rpt_GRPDEF rows, and the AA_BusObject row when bXXJ is true.
    bool Modify(const clsHrSysSetDict &clsDict, const QString &sTableType, bool bXXJ);
    // Flags the set as deleted and removes its category memberships.
    bool ModifyDelFlag(const QString &sTable);
    // Removes the dictionary row, the catalogue rows and the memberships; the table and the
    // item rows stay (callers pair this with the item service's Delete and DropTable).
    bool Delete(const QString &TableCode);

    // Why the last call on this object returned false; empty after a success.
    const QString &lastError() const { return m_lastError; }

private:
    QString m_lastError;
};

} // namespace vorlane
