#pragma once

#include <QString>

namespace vorlane {

class clsHrSysItemDict;
class clsHrSysDataTypes;

// Writes information items: the hr_sys_itemdict rows, the report catalogue (Rpt_ItmDEF) and the
// column authorisation catalogue (AA_Columndic), and runs the column statements that
// ColumnStatements builds.
//
// Stateless apart from the text of the last error, kept for diagnostics only. Runs on the login
// context's shared connection, opens no transaction and shows no message: every operation
// returns false on failure, leaving what already ran for the caller's transaction to roll back.
// Set and item codes must be identifiers; text values are escaped.
class clsHrSysItemDictsFace
{
public:
    // Inserts the dictionary row and, for a default or displayed item, its Rpt_ItmDEF and
    // AA_Columndic rows. sTableDef is the set's name; bSys has no effect.
    bool Add(const clsHrSysItemDict &cls,
             const QString &sTableDef,
             bool bSys,
             const clsHrSysDataTypes &clsDatas);
    // Removes every item row of a set with its catalogue rows.
    bool Delete(const QString &TableCode);
    // Removes one item row with its catalogue rows.
    bool DeleteItem(const QString &TableCode, const QString &ItemCode);
    // Rewrites the item row and, for a displayed item, its catalogue rows (never inserts them).
    bool Modify(const clsHrSysItemDict &clsDict);
    // Flags one item as deleted.
    bool ModifyDelFlag(const QString &sTable, const QString &sItemCode);
    // Run an add, alter or drop column statement unchanged; an empty statement is a failure.
    bool InsertTableField(const QString &strSql);
    bool UpdateTableField(const QString &strSql);
    bool DeleteTableField(const QString &strSql);

    // Why the last call on this object returned false; empty after a success.
    const QString &lastError() const { return m_lastError; }

private:
    bool runTableField(const QString &strSql);

    QString m_lastError;
};

} // namespace vorlane
