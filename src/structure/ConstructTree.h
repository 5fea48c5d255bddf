#pragma once

#include "model/clsHrSysDataTypes.h"
#include "model/clsHrSysSetDicts.h"
#include "model/clsHrSystGroups.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vorlane {

// Node keys of the structure browser's tree. A group node is "R" + group code; a set node is
// "C" + its group node's key + "^" + set code + "^" + parent table, both codes in upper case.
namespace ConstructKeys {
QString groupKey(const QString &groupCode);
QString setKey(const QString &groupNodeKey, const QString &setCode, const QString &parentTable);
bool isGroupKey(const QString &key);
bool isSetKey(const QString &key);
// The group code of a group node key (the key without its first character).
QString groupCode(const QString &groupNodeKey);
// The set code of a set node key: the text between the first and the second "^".
QString setCode(const QString &setNodeKey);
} // namespace ConstructKeys

// One tree node as the browser adds it.
struct ConstructNode
{
    QString parentKey; // empty for a group node
    QString key;
    QString text;
    QString tag;
    int image = 1;
    int selectedImage = 1;
};

// What the structure browser loads at start-up and keeps while it is loaded.
class ConstructData
{
public:
    clsHrSystGroups groups;
    clsHrSysDataTypes dataTypes;
    clsHrSysSetDicts referenceSets;
    // Reserved tables (cTableCode, sMemo): their sets and items may not be edited.
    QList<QPair<QString, QString>> reservedTables;

    // Data types and reference sets, then the table groups.
    void loadCollections();
    // The reserved-table list from hr_bd_utable, first row to last. Database errors pass.
    void loadReservedTables();
    // Whether a set code is a reserved table, compared in upper case.
    bool isReserved(const QString &setCode) const;
    void clear();
};

// The tree: for each group in collection order its node, then one node per set of the group
// (loaded with the tree's own statement). Empty when there are no groups.
QList<ConstructNode> ConstructTreeNodes(const clsHrSystGroups &groups);

} // namespace vorlane
