#include "GridPrint.h"

#include "Grid.h"
#include "PrintControl.h"

#include "entry/MessageService.h"

namespace vorlane {

QStringList VisibleColumnTitles(const Grid &grid)
{
    QStringList titles;
    for (int c = 0; c < grid.Cols(); ++c) {
        if (grid.ColWidth(c) > 0)
            titles << grid.TextMatrix(0, c).trimmed();
    }
    return titles;
}

bool PrepareGridPrint(int mode,
                      PrintControl &xmlPrt,
                      const Grid &grid,
                      const QStringList &columnTitles,
                      const QString &title,
                      const QString &styleFile,
                      const QString &unitName,
                      const QString &operatorName,
                      const QString &printDate)
{
    Q_UNUSED(mode) // every mode hands over all data rows
    if (grid.Rows() < 2) {
        showMessage(QStringLiteral("没有数据！"), QStringLiteral("人事信息管理"));
        return false;
    }
    xmlPrt.setEnableSave(true);

    const bool loaded = xmlPrt.LoadStyle(styleFile);
    if (!loaded)
        xmlPrt.NewStyle();
    xmlPrt.SetTitle(title);
    if (!loaded) {
        xmlPrt.SetPageLayout(QStringLiteral("0,200"), QStringLiteral("800"));
        xmlPrt.SetColumnAlignments(QStringLiteral("左,左,左,左,右,右,右,右,右,右,右,右"));
    }

    QList<int> visible;
    QList<int> widths;
    for (int c = 0; c < grid.Cols(); ++c) {
        if (grid.ColWidth(c) > 0) {
            visible << c;
            widths << grid.ColWidth(c);
        }
    }
    xmlPrt.SetColumnLayout(
        QStringLiteral("0,260"), widths, columnTitles, int(columnTitles.size()) - 1);

    const int columnCount = int(visible.size());
    QStringList texts;
    for (int r = 1; r < grid.Rows(); ++r) {
        texts.clear();
        for (int c : std::as_const(visible))
            texts << grid.TextMatrix(r, c);
        xmlPrt.AddRow(texts, columnCount);
    }

    if (!loaded)
        xmlPrt.SetTitleLayout(QStringLiteral("100"), QStringLiteral("783"));
    if (!loaded) {
        xmlPrt.AddFooterItem(
            QStringLiteral("单位"), unitName, QStringLiteral("0,0"), QStringLiteral("500"));
        xmlPrt.AddFooterItem(
            QStringLiteral("制表人"), operatorName, QStringLiteral("600,0"), QStringLiteral("500"));
        xmlPrt.AddFooterItem(
            QStringLiteral("打印日期"), printDate, QStringLiteral("1100,0"), QStringLiteral("375"));
    } else {
        xmlPrt.AddFooterItem(QStringLiteral("单位"), unitName);
        xmlPrt.AddFooterItem(QStringLiteral("制表人"), operatorName);
        xmlPrt.AddFooterItem(QStringLiteral("打印日期"), printDate);
    }
    xmlPrt.CloseLayout(QStringLiteral("Default"));
    return true;
}

} // namespace vorlane
