#include "PrintControl.h"

#include "FileChooser.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QStandardPaths>

#include <optional>

namespace vorlane {

PrintControl::PrintControl(QObject *parent)
    : QObject(parent)
    , m_rows(std::make_shared<std::vector<QStringList>>())
{
    setObjectName(QStringLiteral("xmlPrt"));
}

void PrintControl::reset()
{
    m_closed = false;
    m_title.clear();
    m_widths.clear();
    m_titles.clear();
    m_rows = std::make_shared<std::vector<QStringList>>();
    m_footer.clear();
    m_lastError.clear();
}

bool PrintControl::LoadStyle(const QString &styleFile)
{
    PrintStyle style;
    if (!style.load(styleFile, &m_lastError))
        return false;
    reset();
    m_style = style;
    m_newStyle = false;
    return true;
}

void PrintControl::NewStyle()
{
    reset();
    m_style = PrintStyle();
    m_newStyle = true;
}

void PrintControl::SetTitle(const QString &title)
{
    m_title = title;
}

void PrintControl::SetPageLayout(const QString &origin, const QString &extent)
{
    m_style.pageOrigin = origin;
    m_style.pageExtent = extent;
}

void PrintControl::SetColumnAlignments(const QString &alignments)
{
    m_style.alignments = alignments.split(u',');
}

void PrintControl::SetColumnLayout(const QString &layout,
                                   const QList<int> &widthsTwips,
                                   const QStringList &titles,
                                   int upperBound)
{
    m_style.columnLayout = layout;
    m_titles = titles.mid(0, std::max(0, upperBound + 1));
    m_widths = widthsTwips.mid(0, m_titles.size());
    while (m_widths.size() < m_titles.size())
        m_widths.append(1500);
}

void PrintControl::AddRow(const QStringList &texts, int columnCount)
{
    QStringList row = texts.mid(0, std::max(0, columnCount));
    while (row.size() < columnCount)
        row.append(QString());
    m_rows->push_back(std::move(row));
}

void PrintControl::SetTitleLayout(const QString &top, const QString &width)
{
    m_style.titleTop = top;
    m_style.titleWidth = width;
}

void PrintControl::AddFooterItem(const QString &label,
                                 const QString &value,
                                 const QString &place,
                                 const QString &size)
{
    m_footer.append({label, value, place, size});
    // Places given with the call win over those of the style file.
    if (!place.isEmpty() && !size.isEmpty())
        return;
    const qsizetype i = m_footer.size() - 1;
    m_footer[i].place = m_style.footerPlaces.value(i);
    m_footer[i].size = m_style.footerSizes.value(i);
}

void PrintControl::CloseLayout(const QString &styleName)
{
    m_style.name = styleName;
    m_closed = true;
}

QStringList PrintControl::columnTitles() const
{
    return m_titles;
}

GridDocument PrintControl::document(const QString &columnList) const
{
    GridDocument document;
    document.title = m_title;
    document.style = m_style;
    document.rows = m_rows;
    document.footer = m_footer;

    QList<int> sources;
    const QStringList wanted = columnList.split(u',', Qt::SkipEmptyParts);
    if (wanted.isEmpty()) {
        for (int c = 0; c < m_titles.size(); ++c)
            sources << c;
    } else {
        // Titles can repeat: each name takes the first column of that title not taken yet.
        QList<bool> taken(m_titles.size(), false);
        for (const QString &name : wanted) {
            for (int c = 0; c < m_titles.size(); ++c) {
                if (!taken[c] && m_titles[c].trimmed() == name.trimmed()) {
                    taken[c] = true;
                    sources << c;
                    break;
                }
            }
        }
    }
    for (int source : sources) {
        PrintColumn column;
        column.title = m_titles.at(source);
        column.widthTwips = m_widths.value(source, 1500);
        column.alignment = m_style.alignmentOf(source);
        column.source = source;
        document.columns.append(column);
    }
    return document;
}

QString PrintControl::suggestedFileName() const
{
    QString name = m_title.trimmed();
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (QChar &c : name) {
        if (forbidden.contains(c) || c < u' ')
            c = u'_';
    }
    if (name.isEmpty())
        name = QStringLiteral("输出");
    QString folder = m_lastFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(name + u".xlsx");
}

int PrintControl::SaveToFile(const QString &columnList,
                             const QString & /*titleSizes*/,
                             const QString & /*bodySizes*/,
                             const QString & /*extra*/,
                             int /*options*/)
{
    m_lastError.clear();
    if (!m_closed) {
        m_lastError = QStringLiteral("没有可输出的内容");
        return NoLayout;
    }
    if (!m_enableSave) {
        m_lastError = QStringLiteral("不允许输出到文件");
        return SaveNotEnabled;
    }

    const QStringList filters = {QStringLiteral("Excel 工作簿 (*.xlsx)"),
                                 QStringLiteral("CSV 文件，UTF-8 逗号分隔 (*.csv)"),
                                 QStringLiteral("PDF 文件 (*.pdf)")};
    QString path = fileChooser().chooseSaveFile(
        m_parentWidget, QStringLiteral("输出到文件"), suggestedFileName(), filters);
    if (path.isEmpty())
        return Cancelled;
    ExportFormat format = ExportFormat::Xlsx;
    if (!exportFormatForPath(path, &format))
        path += QStringLiteral(".xlsx");
    m_lastFolder = QFileInfo(path).absolutePath();

    const GridDocument doc = document(columnList);

    // Long exports keep the window alive and can be cancelled.
    std::optional<QProgressDialog> progressDialog;
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        progressDialog.emplace(
            QStringLiteral("正在输出到文件……"), QStringLiteral("取消"), 0, 100, m_parentWidget);
        progressDialog->setWindowTitle(QStringLiteral("输出到文件"));
        progressDialog->setWindowModality(Qt::WindowModal);
        progressDialog->setMinimumDuration(500);
        progressDialog->setAutoReset(false);
        progressDialog->setValue(0);
    }
    const ProgressFn progress = [&progressDialog](qint64 done, qint64 total) {
        if (progressDialog) {
            const int percent = total > 0 ? int(done * 100 / total) : 100;
            progressDialog->setValue(std::min(percent, 99));
            QCoreApplication::processEvents();
            return !progressDialog->wasCanceled();
        }
        return true;
    };

    const WriteResult result = writeDocument(doc, path, format, progress);
    if (progressDialog)
        progressDialog->close();
    switch (result.status) {
    case WriteResult::Written:
        m_lastFile = path;
        return Success;
    case WriteResult::Cancelled:
        return Cancelled;
    case WriteResult::Failed:
        break;
    }
    m_lastError = result.error;
    return WriteFailed;
}

int PrintControl::PrintPreview()
{
    if (!m_closed) {
        m_lastError = QStringLiteral("没有可打印的内容");
        return NoLayout;
    }
    const GridDocument doc = document();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(m_style.pageLayout());
    printer.setDocName(m_title);
    QPrintPreviewDialog dialog(&printer, m_parentWidget);
    dialog.setWindowTitle(QStringLiteral("打印预览"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&doc](QPrinter *target) {
        renderDocument(target, doc, {});
    });
    return dialog.exec() == QDialog::Accepted ? Success : Cancelled;
}

} // namespace vorlane
