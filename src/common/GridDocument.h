#pragma once

#include "PrintStyle.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QPagedPaintDevice;

namespace vorlane {

struct PrintColumn
{
    QString title;
    int widthTwips = 1500;
    Qt::Alignment alignment = Qt::AlignLeft;
    int source = 0; // index into each row's texts
};

struct PrintFooterItem
{
    QString label;
    QString value;
    QString place; // "x,y" in layout units
    QString size;  // width in layout units
};

// A grid's contents laid out for printing or for a file: title, columns, rows, footer, style.
struct GridDocument
{
    QString title;
    PrintStyle style;
    QList<PrintColumn> columns;
    std::shared_ptr<const std::vector<QStringList>> rows;
    QList<PrintFooterItem> footer;

    qsizetype rowCount() const { return rows ? qsizetype(rows->size()) : 0; }
    QString cell(qsizetype row, int column) const
    {
        return (*rows)[size_t(row)].value(columns.at(column).source);
    }
};

// Called while a document is written: rows (or pages) done and the total. Returning false asks
// the writer to stop; it then removes what it wrote.
using ProgressFn = std::function<bool(qint64 done, qint64 total)>;

enum class ExportFormat { Xlsx, Csv, Pdf };

struct WriteResult
{
    enum Status { Written, Failed, Cancelled };
    Status status = Failed;
    QString error;
};

// The format a file name asks for by its suffix; false when the suffix is none of the three.
bool exportFormatForPath(const QString &path, ExportFormat *format);

// Each writer either leaves the complete file at path, or leaves the target as it was (an
// existing file untouched, no partial file): the data go to a temporary file beside the target
// which replaces it only at the end. An existing read-only target is refused.
WriteResult
writeXlsx(const GridDocument &document, const QString &path, const ProgressFn &progress);
WriteResult writeCsv(const GridDocument &document, const QString &path, const ProgressFn &progress);
WriteResult writePdf(const GridDocument &document, const QString &path, const ProgressFn &progress);
WriteResult writeDocument(const GridDocument &document,
                          const QString &path,
                          ExportFormat format,
                          const ProgressFn &progress);

// Paints the document onto a paged device (PDF writer or printer), page after page: title,
// column titles and rows, footer and page number on every page. False when cancelled.
bool renderDocument(QPagedPaintDevice *device,
                    const GridDocument &document,
                    const ProgressFn &progress);

} // namespace vorlane
