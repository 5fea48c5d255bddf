#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace vorlane::test {

// The cells of the first worksheet of a workbook, by reference ("A1" -> text). Shared and
// inline strings are both resolved. Empty when the file is no workbook.
QMap<QString, QString> readXlsxCells(const QString &path);

// "A1" for row 0, column 0.
QString cellRef(int row, int column);

} // namespace vorlane::test
