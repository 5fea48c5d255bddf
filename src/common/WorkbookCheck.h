#pragma once

#include <QString>

namespace vorlane {

// Reads a written workbook back: the zip directory must be complete and the worksheet must
// inflate to its recorded checksum with the expected number of rows. libxlsxwriter does not
// report failed writes (a full disk leaves a truncated file behind a success code), so this is
// how a failed write is noticed. Returns an empty text when the workbook is sound.
QString verifyWorkbook(const QString &path, qint64 expectedRows);

} // namespace vorlane
