#pragma once

// Pieces of the demo account database, each written inside the one transaction of
// createDemoAccount.

#include "SeedWriter.h"

#include <QList>
#include <QString>

namespace vorlane::host::seed {

// Version of the demo schema; recorded in Host_Meta under "SchemaVersion". Version 2 added the
// heartbeat of task locks (Host_TaskLock.dHeartbeat).
inline constexpr int schemaVersion = 2;

// One data type of hr_sys_datatype.
struct DataType
{
    int id;
    QString name{};
    QString factType;
    QString description;
    QString simpleSpell;
    QString memo{};
};
const QList<DataType> &dataTypes();
QString factTypeOf(int dataTypeId);

// One information item as the dictionary describes it (hr_sys_itemdict, hr_bd_fld).
struct Item
{
    QString code{};
    QString name{};
    int type = 2;
    int len = 0;
    int dec = 0;
    QString ref{};
    int lastLevel = 0;
    int sysFlag = 0; // 0 system, 1 user
    int required = 0;
    int notNull = 0;
    QString defaultValue{};
    QString format{};
    int display = 1;
    int showOrder = 99;
    int builtin = 0; // bdefault: a standard column of the set's kind
    QString memo{};
};
// The column definition the item's add statement uses: "code type(len)  null".
QString columnDefinition(const Item &item);

// Standard-column templates of hr_bd_fld, by template name ("cPsn_Num", ..., "other", "HR_CT").
QList<Item> templateItems(const QString &templateName);
QStringList templateNames();

void createSchema(SeedWriter &w);
void seedHost(SeedWriter &w);
void seedDictionary(SeedWriter &w);
void seedCodeTables(SeedWriter &w);
void seedInformationSets(SeedWriter &w);

// Inserts hr_sys_itemdict rows (and, as the item service does, catalogue rows for built-in or
// displayed items when withCatalogue is true).
void writeItems(SeedWriter &w,
                const QString &tableCode,
                const QString &tableName,
                const QList<Item> &items,
                bool withCatalogue);

} // namespace vorlane::host::seed
