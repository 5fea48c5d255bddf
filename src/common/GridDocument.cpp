#include "GridDocument.h"
#include "WorkbookCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace vorlane {

namespace {

constexpr qint64 ProgressStep = 1000;    // rows between two progress reports
constexpr int MaxXlsxCellLength = 32767; // longest text a spreadsheet cell holds
constexpr qsizetype CsvFlushSize = 1 << 16;

WriteResult failed(const QString &error)
{
    return {WriteResult::Failed, error};
}

// Why a target cannot be written, or an empty text. A read-only file is never replaced, even
// where the file system would let the rename through.
QString targetProblem(const QString &path)
{
    if (path.trimmed().isEmpty())
        return QStringLiteral("没有文件名");
    const QFileInfo info(path);
    if (info.exists()) {
        if (info.isDir())
            return QStringLiteral("目标是一个文件夹");
        if (!(info.permissions() & QFileDevice::WriteOwner))
            return QStringLiteral("目标文件是只读的");
    }
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists() || !folder.isDir())
        return QStringLiteral("文件夹不存在");
    return {};
}

bool reportProgress(const ProgressFn &progress, qint64 done, qint64 total)
{
    return !progress || progress(done, total);
}

QString csvField(const QString &text)
{
    bool quote = text.startsWith(u' ') || text.endsWith(u' ');
    for (QChar c : text) {
        if (c == u',' || c == u'"' || c == u'\n' || c == u'\r') {
            quote = true;
            break;
        }
    }
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

void appendCsvLine(QByteArray &buffer, const QStringList &fields)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += u',';
        line += csvField(fields.at(i));
    }
    buffer += line.toUtf8();
    buffer += "\r\n";
}

QStringList footerFields(const GridDocument &document)
{
    QStringList fields;
    for (const PrintFooterItem &item : document.footer)
        fields << item.label << item.value;
    return fields;
}

// A worksheet name: at most 31 characters, none of []:*?/\ .
QByteArray sheetName(const QString &title)
{
    QString name = title.trimmed();
    static const QString forbidden = QStringLiteral("[]:*?/\\");
    for (QChar &c : name) {
        if (forbidden.contains(c))
            c = u'_';
    }
    name = name.left(31);
    if (name.isEmpty() || name.startsWith(u'\''))
        name = QStringLiteral("Sheet1");
    return name.toUtf8();
}

double excelColumnWidth(int twips)
{
    // Excel measures widths in characters of the default font (7 pixels plus padding).
    const double pixels = twips / 15.0;
    return std::max(1.0, (pixels - 5.0) / 7.0);
}

uint8_t excelAlignment(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return LXW_ALIGN_RIGHT;
    if (alignment & Qt::AlignHCenter)
        return LXW_ALIGN_CENTER;
    return LXW_ALIGN_LEFT;
}

QByteArray cellText(const QString &text)
{
    return text.left(MaxXlsxCellLength).toUtf8();
}

struct FooterSlot
{
    double x;
    double width;
};

// Footer places are "x,y" and sizes widths in layout units; they are spread over the page in
// proportion. Without places the footer takes three equal parts.
QList<FooterSlot> footerSlots(const GridDocument &document, double pageWidth)
{
    const qsizetype count = document.footer.size();
    QList<double> xs;
    QList<double> widths;
    double extent = 0;
    bool usable = count > 0;
    for (const PrintFooterItem &item : document.footer) {
        bool okX = false;
        bool okW = false;
        const double x = item.place.section(u',', 0, 0).trimmed().toDouble(&okX);
        const double w = item.size.trimmed().toDouble(&okW);
        if (!okX || !okW || x < 0 || w <= 0) {
            usable = false;
            break;
        }
        xs << x;
        widths << w;
        extent = std::max(extent, x + w);
    }
    QList<FooterSlot> slots;
    for (qsizetype i = 0; i < count; ++i) {
        if (usable && extent > 0)
            slots.append({xs[i] / extent * pageWidth, widths[i] / extent * pageWidth});
        else
            slots.append({pageWidth * double(i) / double(count), pageWidth / double(count)});
    }
    return slots;
}

} // namespace

bool exportFormatForPath(const QString &path, ExportFormat *format)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"xlsx")
        *format = ExportFormat::Xlsx;
    else if (suffix == u"csv")
        *format = ExportFormat::Csv;
    else if (suffix == u"pdf")
        *format = ExportFormat::Pdf;
    else
        return false;
    return true;
}

WriteResult writeXlsx(const GridDocument &document, const QString &path, const ProgressFn &progress)
{
    if (const QString problem = targetProblem(path); !problem.isEmpty())
        return failed(problem);

    const QFileInfo target(path);
    QTemporaryFile temporary(target.absolutePath() + u"/." + target.fileName() + u".XXXXXX");
    temporary.setAutoRemove(false);
    if (!temporary.open())
        return failed(temporary.errorString());
    const QString temporaryPath = temporary.fileName();
    temporary.close();
    auto discard = [&](const QString &error, WriteResult::Status status = WriteResult::Failed) {
        QFile::remove(temporaryPath);
        return WriteResult{status, error};
    };

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray nativePath = QFile::encodeName(temporaryPath);
    lxw_workbook *workbook = workbook_new_opt(nativePath.constData(), &options);
    if (!workbook)
        return discard(QStringLiteral("无法创建工作簿"));

    const QByteArray name = sheetName(document.title);
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, name.constData());
    const int columnCount = int(document.columns.size());
    const int lastColumn = std::max(columnCount, 1) - 1;

    lxw_format *titleFormat = workbook_add_format(workbook);
    format_set_bold(titleFormat);
    format_set_font_size(titleFormat, 14);
    format_set_align(titleFormat, LXW_ALIGN_CENTER);
    format_set_align(titleFormat, LXW_ALIGN_VERTICAL_CENTER);

    lxw_format *headerFormat = workbook_add_format(workbook);
    format_set_bold(headerFormat);
    format_set_border(headerFormat, LXW_BORDER_THIN);
    format_set_bg_color(headerFormat, 0xE8E8E8);
    format_set_align(headerFormat, LXW_ALIGN_CENTER);

    QList<lxw_format *> cellFormats;
    for (const PrintColumn &column : document.columns) {
        lxw_format *format = workbook_add_format(workbook);
        format_set_border(format, LXW_BORDER_THIN);
        format_set_align(format, excelAlignment(column.alignment));
        cellFormats << format;
    }
    lxw_format *footerLabel = workbook_add_format(workbook);
    format_set_bold(footerLabel);

    for (int c = 0; c < columnCount; ++c) {
        worksheet_set_column(sheet,
                             lxw_col_t(c),
                             lxw_col_t(c),
                             excelColumnWidth(document.columns[c].widthTwips),
                             nullptr);
    }

    lxw_error status = LXW_NO_ERROR;
    auto check = [&status](lxw_error result) {
        if (result != LXW_NO_ERROR && status == LXW_NO_ERROR)
            status = result;
    };

    // Rows go out strictly in order: the sheet is streamed to disk.
    lxw_row_t row = 0;
    worksheet_set_row(sheet, row, 24, nullptr);
    if (lastColumn > 0)
        check(worksheet_merge_range(sheet,
                                    row,
                                    0,
                                    row,
                                    lxw_col_t(lastColumn),
                                    cellText(document.title).constData(),
                                    titleFormat));
    else
        check(worksheet_write_string(
            sheet, row, 0, cellText(document.title).constData(), titleFormat));
    ++row;
    for (int c = 0; c < columnCount; ++c)
        check(worksheet_write_string(sheet,
                                     row,
                                     lxw_col_t(c),
                                     cellText(document.columns[c].title).constData(),
                                     headerFormat));
    ++row;
    worksheet_freeze_panes(sheet, row, 0);

    const qint64 total = document.rowCount();
    bool cancelled = false;
    for (qint64 r = 0; r < total && status == LXW_NO_ERROR; ++r, ++row) {
        for (int c = 0; c < columnCount; ++c) {
            const QString text = document.cell(r, c);
            if (text.isEmpty())
                check(worksheet_write_blank(sheet, row, lxw_col_t(c), cellFormats[c]));
            else
                check(worksheet_write_string(
                    sheet, row, lxw_col_t(c), cellText(text).constData(), cellFormats[c]));
        }
        if ((r + 1) % ProgressStep == 0 && !reportProgress(progress, r + 1, total)) {
            cancelled = true;
            break;
        }
    }

    if (!cancelled && status == LXW_NO_ERROR && !document.footer.isEmpty()) {
        ++row; // one blank row between the table and the footer
        lxw_col_t col = 0;
        for (const PrintFooterItem &item : document.footer) {
            check(worksheet_write_string(
                sheet, row, col++, cellText(item.label).constData(), footerLabel));
            check(worksheet_write_string(
                sheet, row, col++, cellText(item.value).constData(), nullptr));
        }
    }

    const lxw_error closed = workbook_close(workbook);
    if (cancelled)
        return discard({}, WriteResult::Cancelled);
    if (status != LXW_NO_ERROR)
        return discard(QString::fromUtf8(lxw_strerror(status)));
    if (closed != LXW_NO_ERROR)
        return discard(QString::fromUtf8(lxw_strerror(closed)));
    // Title and column titles, the data rows, and the footer row.
    const qint64 writtenRows = 2 + total + (document.footer.isEmpty() ? 0 : 1);
    if (const QString problem = verifyWorkbook(temporaryPath, writtenRows); !problem.isEmpty())
        return discard(problem);

    // Same permissions as the file it replaces, else the usual ones for a new document.
    const QFileDevice::Permissions permissions
        = target.exists()
              ? target.permissions()
              : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                    | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(temporaryPath, permissions);

    std::error_code error;
    std::filesystem::rename(QFile::encodeName(temporaryPath).toStdString(),
                            QFile::encodeName(target.absoluteFilePath()).toStdString(),
                            error);
    if (error)
        return discard(QString::fromLocal8Bit(error.message()));
    reportProgress(progress, total, total);
    return {WriteResult::Written, {}};
}

WriteResult writeCsv(const GridDocument &document, const QString &path, const ProgressFn &progress)
{
    if (const QString problem = targetProblem(path); !problem.isEmpty())
        return failed(problem);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());

    QByteArray buffer("\xEF\xBB\xBF");
    auto flush = [&]() {
        if (buffer.isEmpty())
            return true;
        const bool ok = file.write(buffer) == buffer.size();
        buffer.clear();
        return ok;
    };

    appendCsvLine(buffer, {document.title});
    QStringList titles;
    for (const PrintColumn &column : document.columns)
        titles << column.title;
    appendCsvLine(buffer, titles);

    const qint64 total = document.rowCount();
    QStringList fields;
    for (qint64 r = 0; r < total; ++r) {
        fields.clear();
        for (int c = 0; c < document.columns.size(); ++c)
            fields << document.cell(r, c);
        appendCsvLine(buffer, fields);
        if (buffer.size() >= CsvFlushSize && !flush()) {
            file.cancelWriting();
            return failed(file.errorString());
        }
        if ((r + 1) % ProgressStep == 0 && !reportProgress(progress, r + 1, total)) {
            file.cancelWriting();
            return {WriteResult::Cancelled, {}};
        }
    }
    if (!document.footer.isEmpty()) {
        buffer += "\r\n";
        appendCsvLine(buffer, footerFields(document));
    }
    if (!flush()) {
        file.cancelWriting();
        return failed(file.errorString());
    }
    if (!file.commit())
        return failed(file.errorString());
    reportProgress(progress, total, total);
    return {WriteResult::Written, {}};
}

WriteResult writePdf(const GridDocument &document, const QString &path, const ProgressFn &progress)
{
    if (const QString problem = targetProblem(path); !problem.isEmpty())
        return failed(problem);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());

    WriteResult::Status status = WriteResult::Written;
    {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("Vorlane"));
        writer.setPageLayout(document.style.pageLayout());
        if (!renderDocument(&writer, document, progress))
            status = WriteResult::Cancelled;
    }
    if (status == WriteResult::Cancelled) {
        file.cancelWriting();
        return {WriteResult::Cancelled, {}};
    }
    if (!file.commit())
        return failed(file.errorString());
    return {WriteResult::Written, {}};
}

WriteResult writeDocument(const GridDocument &document,
                          const QString &path,
                          ExportFormat format,
                          const ProgressFn &progress)
{
    switch (format) {
    case ExportFormat::Xlsx:
        return writeXlsx(document, path, progress);
    case ExportFormat::Csv:
        return writeCsv(document, path, progress);
    case ExportFormat::Pdf:
        return writePdf(document, path, progress);
    }
    return failed(QStringLiteral("未知的文件格式"));
}

bool renderDocument(QPagedPaintDevice *device,
                    const GridDocument &document,
                    const ProgressFn &progress)
{
    QPainter painter;
    if (!painter.begin(device))
        return true; // nothing can be painted; the caller's device reports the error

    const PrintStyle &style = document.style;
    const double dpiX = device->logicalDpiX();
    const double dpiY = device->logicalDpiY();
    const double pageWidth = device->width();
    const double pageHeight = device->height();
    const double padding = style.cellPaddingMm * dpiX / 25.4;

    const QFontMetricsF titleMetrics(style.titleFont, device);
    const QFontMetricsF headerMetrics(style.headerFont, device);
    const QFontMetricsF bodyMetrics(style.bodyFont, device);
    const QFontMetricsF footerMetrics(style.footerFont, device);
    const double titleHeight = titleMetrics.height() * 1.8;
    const double headerHeight = headerMetrics.height() + 2 * padding;
    const double rowHeight = bodyMetrics.height() + 2 * padding;
    const double footerLine = footerMetrics.height() * 1.3;
    const double footerHeight = footerLine * (style.pageNumbers ? 2.4 : 1.4);

    QList<double> widths;
    double totalWidth = 0;
    for (const PrintColumn &column : document.columns) {
        widths << column.widthTwips / 1440.0 * dpiX;
        totalWidth += widths.last();
    }

    // Shrink a slightly too wide table to the page; print a much wider one in column bands.
    double scale = 1.0;
    QList<QPair<int, int>> bands; // first column, column count
    if (totalWidth > pageWidth && totalWidth <= pageWidth * style.fitToWidth) {
        scale = pageWidth / totalWidth;
        bands.append({0, int(widths.size())});
    } else {
        int first = 0;
        double used = 0;
        for (int c = 0; c < widths.size(); ++c) {
            if (c > first && used + widths[c] > pageWidth) {
                bands.append({first, c - first});
                first = c;
                used = 0;
            }
            used += widths[c];
        }
        bands.append({first, int(widths.size()) - first});
    }

    const double tableSpace = (pageHeight - titleHeight - footerHeight) / scale - headerHeight;
    const qint64 rowsPerPage = std::max<qint64>(1, qint64(std::floor(tableSpace / rowHeight)));
    const qint64 rowCount = document.rowCount();
    const qint64 rowPages = std::max<qint64>(1, (rowCount + rowsPerPage - 1) / rowsPerPage);
    const qint64 totalPages = rowPages * bands.size();
    const QList<FooterSlot> slots = footerSlots(document, pageWidth);
    const QPen gridPen(Qt::black, std::max(1.0, dpiY / 200.0));

    auto drawCell = [&](const QRectF &rect,
                        const QString &text,
                        Qt::Alignment alignment,
                        const QFontMetricsF &metrics) {
        const QRectF inner = rect.adjusted(padding, 0, -padding, 0);
        painter.drawText(inner,
                         int(alignment | Qt::AlignVCenter | Qt::TextSingleLine),
                         metrics.elidedText(text, Qt::ElideRight, inner.width()));
    };

    qint64 page = 0;
    for (const auto &[firstColumn, columnCount] : bands) {
        double bandWidth = 0;
        for (int c = firstColumn; c < firstColumn + columnCount; ++c)
            bandWidth += widths[c];
        bandWidth = std::min(bandWidth, pageWidth / scale);

        for (qint64 rowPage = 0; rowPage < rowPages; ++rowPage, ++page) {
            if (page > 0)
                device->newPage();

            painter.setFont(style.titleFont);
            painter.setPen(Qt::black);
            painter.drawText(QRectF(0, 0, pageWidth, titleHeight),
                             int(Qt::AlignCenter | Qt::TextSingleLine),
                             titleMetrics.elidedText(document.title, Qt::ElideRight, pageWidth));

            painter.save();
            painter.translate(0, titleHeight);
            painter.scale(scale, scale);
            painter.setClipRect(QRectF(0, 0, pageWidth / scale, pageHeight / scale));

            const qint64 firstRow = rowPage * rowsPerPage;
            const qint64 lastRow = std::min(rowCount, firstRow + rowsPerPage);
            const double tableHeight = headerHeight + double(lastRow - firstRow) * rowHeight;

            painter.fillRect(QRectF(0, 0, bandWidth, headerHeight), style.headerBackground);
            painter.setFont(style.headerFont);
            double x = 0;
            for (int c = firstColumn; c < firstColumn + columnCount; ++c) {
                drawCell(QRectF(x, 0, widths[c], headerHeight),
                         document.columns[c].title,
                         Qt::AlignHCenter,
                         headerMetrics);
                x += widths[c];
            }

            painter.setFont(style.bodyFont);
            double y = headerHeight;
            for (qint64 r = firstRow; r < lastRow; ++r, y += rowHeight) {
                x = 0;
                for (int c = firstColumn; c < firstColumn + columnCount; ++c) {
                    drawCell(QRectF(x, y, widths[c], rowHeight),
                             document.cell(r, c),
                             document.columns[c].alignment,
                             bodyMetrics);
                    x += widths[c];
                }
            }

            painter.setPen(gridPen);
            if (style.gridLines) {
                for (qint64 r = 0; r <= lastRow - firstRow; ++r) {
                    const double ly = headerHeight + double(r) * rowHeight;
                    painter.drawLine(QPointF(0, ly), QPointF(bandWidth, ly));
                }
                x = 0;
                painter.drawLine(QPointF(0, 0), QPointF(0, tableHeight));
                for (int c = firstColumn; c < firstColumn + columnCount; ++c) {
                    x = std::min(x + widths[c], bandWidth);
                    painter.drawLine(QPointF(x, 0), QPointF(x, tableHeight));
                }
            }
            painter.drawRect(QRectF(0, 0, bandWidth, tableHeight));
            painter.drawLine(QPointF(0, headerHeight), QPointF(bandWidth, headerHeight));
            painter.restore();

            painter.setFont(style.footerFont);
            painter.setPen(Qt::black);
            const double footerTop = pageHeight - footerHeight;
            for (qsizetype i = 0; i < document.footer.size(); ++i) {
                const PrintFooterItem &item = document.footer[i];
                const QString text = item.label + u"：" + item.value;
                painter.drawText(QRectF(slots[i].x, footerTop, slots[i].width, footerLine),
                                 int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine),
                                 footerMetrics.elidedText(text, Qt::ElideRight, slots[i].width));
            }
            if (style.pageNumbers) {
                painter.drawText(
                    QRectF(0, footerTop + footerLine, pageWidth, footerLine),
                    int(Qt::AlignHCenter | Qt::AlignVCenter),
                    QStringLiteral("第 %1 页，共 %2 页").arg(page + 1).arg(totalPages));
            }

            if (!reportProgress(progress, page + 1, totalPages)) {
                painter.end();
                return false;
            }
        }
    }
    painter.end();
    return true;
}

} // namespace vorlane
