#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vorlane {

class ConstructData;
class clsHrSysItemDict;
class clsHrSysSetDict;
class clsHrSysDataTypes;
class clsHrSysSetDicts;
class clsHrSystGroups;

// The structure browser's grid for one node: the titles and widths of one of its two layouts
// and the rows of texts under them (row number in column 0).
struct ConstructGridContent
{
    static constexpr int SetColumns = 17;
    static constexpr int ItemColumns = 21;
    static constexpr int NumberColumnWidth = 800;
    static constexpr int DefaultColumnWidth = 1500;

    QStringList titles;
    QList<int> widths; // twips; -1 leaves the grid's default width
    QList<QStringList> rows;
};

// Layouts without rows: column titles, and widths for the login context's OptFlag (1 hides the
// columns of built-in detail, 0 shows them, anything else leaves them at the default width).
ConstructGridContent SetListLayout(int optFlag);
ConstructGridContent ItemListLayout(int optFlag);

// One row of each list, value labels included ("1-用户", "0-未删除", ...).
QStringList SetRowTexts(int number, const clsHrSysSetDict &set, const clsHrSystGroups &groups);
QStringList ItemRowTexts(int number,
                         const clsHrSysItemDict &item,
                         const clsHrSysDataTypes &dataTypes,
                         const clsHrSysSetDicts &referenceSets);

// The set list of a group and the item list of a set, loaded from the dictionary. A failed or
// empty load gives the layout without rows. With OptFlag 1 built-in items are left out, with a
// value other than 0 and 1 every item is.
ConstructGridContent GroupSetList(const QString &groupCode, const ConstructData &data, int optFlag);
ConstructGridContent SetItemList(const QString &setCode, const ConstructData &data, int optFlag);

} // namespace vorlane
