#pragma once

#include <QList>
#include <QString>

namespace vorlane {

class clsHrSysItemDict;
class clsHrSysDataTypes;

// The column statements (ALTER TABLE) that add, change and drop the physical column of an
// information item. The item dialogs build them here and run them through clsHrSysItemDictsFace.
//
// Data types 1 and 2 take a length, 4 a length and decimals, every other type neither; an alter
// statement exists only for 1, 2 and 4. Set and item codes must be identifiers and lengths whole
// numbers; anything else raises services::SqlInputError (a db::DbError) before a text is built.
class ColumnStatements
{
public:
    // The database type of a data type id: FactType, trimmed, of the first record whose trimmed
    // Id equals the trimmed id; empty when there is none.
    static QString FactTypeOf(const QString &dataTypeId, const clsHrSysDataTypes &dataTypes);

    // Whether a data type id takes a length (1, 2, 4), decimals (4), or can be altered (1, 2, 4).
    static bool TakesLength(const QString &dataTypeId);
    static bool TakesDecimals(const QString &dataTypeId);

    // One column definition in an add statement ("C varchar(20)  null ").
    static QString AddDefinition(const QString &itemCode,
                                 const QString &dataTypeId,
                                 const QString &factType,
                                 const QString &length,
                                 const QString &decimals);
    // One column definition in an alter statement ("C varchar(20)"); empty for types other than
    // 1, 2 and 4.
    static QString AlterDefinition(const QString &itemCode,
                                   const QString &dataTypeId,
                                   const QString &factType,
                                   const QString &length,
                                   const QString &decimals);

    // "ALTER TABLE T ADD d1,d2"; empty without definitions.
    static QString AddStatement(const QString &tableCode, const QStringList &definitions);
    // "ALTER TABLE T ALTER COLUMN d"; empty when the definition is empty.
    static QString AlterStatement(const QString &tableCode, const QString &definition);
    // "ALTER TABLE T DROP COLUMN C".
    static QString DropStatement(const QString &tableCode, const QString &itemCode);

    // The same from item records, the fact type looked up in dataTypes. An item whose data type
    // is not in dataTypes raises SqlInputError: a column needs a type.
    static QString AddDefinition(const clsHrSysItemDict &item, const clsHrSysDataTypes &dataTypes);
    static QString AddStatement(const QString &tableCode,
                                const QList<const clsHrSysItemDict *> &items,
                                const clsHrSysDataTypes &dataTypes);
    static QString AlterStatement(const clsHrSysItemDict &item, const clsHrSysDataTypes &dataTypes);
    static QString DropStatement(const clsHrSysItemDict &item);
};

} // namespace vorlane
