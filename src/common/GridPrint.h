#pragma once

#include <QString>
#include <QStringList>

namespace vorlane {

class Grid;
class PrintControl;

// Hands a grid's contents and a page layout to the print control: the title, the visible
// columns with their titles (columnTitles, one per visible column), the data rows (mode 2 and
// every other mode: rows 1 to the last), and the footer ("单位", "制表人", "打印日期"). The layout
// comes from the style file, or from built-in defaults when it cannot be read. With fewer than
// two grid rows it shows "没有数据！" and returns false.
bool PrepareGridPrint(int mode,
                      PrintControl &xmlPrt,
                      const Grid &grid,
                      const QStringList &columnTitles,
                      const QString &title,
                      const QString &styleFile,
                      const QString &unitName,
                      const QString &operatorName,
                      const QString &printDate);

// The trimmed row-0 texts of the grid's visible columns.
QStringList VisibleColumnTitles(const Grid &grid);

} // namespace vorlane
