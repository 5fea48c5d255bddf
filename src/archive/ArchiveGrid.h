#pragma once

#include <QList>
#include <QStringList>

namespace vorlane {
class clsHrCT;
class clsHrCTs;
} // namespace vorlane

namespace vorlane::archive {

// Grid contents of the archive browser: one row per code, its flags shown with value labels.
inline constexpr int GridColumnCount = 11;
inline constexpr int GridDefaultColWidth = 1500; // twips
inline constexpr int GridNumberColWidth = 800;   // column 0, the row number
inline constexpr int GridCodeColumn = 1;
inline constexpr int GridLevelColumn = 5;

// Row 0: "序号", "档案编码", ... "备注".
QStringList gridTitles();

// "0-系统"/"1-用户", "0-没有"/"1-有", "0-显示"/"1-隐藏"; any other value shows nothing.
QString systemFlagLabel(const QString &flag);
QString childFlagLabel(const QString &flag);
QString hideFlagLabel(const QString &flag);

// The eleven cells of grid row `number` (1 upwards) for one code.
QStringList gridRow(int number, const clsHrCT &code);
// Rows 1 to Count of a code collection.
QList<QStringList> gridRows(const clsHrCTs &codes);

} // namespace vorlane::archive
