#pragma once

#include "GridDocument.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace vorlane {

// The print control of a browser window (xmlPrt): it takes a grid's contents and a page layout,
// then prints them with a preview or writes them to a file the user chooses (.xlsx, .csv, .pdf).
// The layout is built step by step and closed under a style name; only a closed layout can be
// printed or saved.
class PrintControl : public QObject
{
    Q_OBJECT

public:
    // Results of SaveToFile and PrintPreview.
    static constexpr int Success = 0;
    static constexpr int Cancelled = 3999;
    static constexpr int SaveNotEnabled = 3001;
    static constexpr int NoLayout = 3002;
    static constexpr int WriteFailed = 3003;

    explicit PrintControl(QObject *parent = nullptr);

    // Dialogs (file choice, progress, preview) open over this window.
    void setParentWidget(QWidget *widget) { m_parentWidget = widget; }

    bool Visible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }
    bool EnableSave() const { return m_enableSave; }
    void setEnableSave(bool enable) { m_enableSave = enable; }

    // Starts a layout from a style file; false (and nothing loaded) when it cannot be read.
    bool LoadStyle(const QString &styleFile);
    // Starts a layout from the built-in default style.
    void NewStyle();
    bool isNewStyle() const { return m_newStyle; }

    void SetTitle(const QString &title);
    void SetPageLayout(const QString &origin, const QString &extent);
    // Comma-separated alignments, one per column: "左", "右" or "中".
    void SetColumnAlignments(const QString &alignments);
    // The visible columns: their widths in twips and their titles. upperBound is the index of
    // the last title.
    void SetColumnLayout(const QString &layout,
                         const QList<int> &widthsTwips,
                         const QStringList &titles,
                         int upperBound);
    // One data row; columnCount texts are taken (missing ones are empty).
    void AddRow(const QStringList &texts, int columnCount);
    void SetTitleLayout(const QString &top, const QString &width);
    void AddFooterItem(const QString &label,
                       const QString &value,
                       const QString &place = {},
                       const QString &size = {});
    void CloseLayout(const QString &styleName);

    // Lets the user choose a file and writes the closed layout to it. columnList names the
    // columns to write, by title, each followed by ","; an empty list writes all. Returns
    // Success, Cancelled (file choice or progress cancelled) or an error code.
    int SaveToFile(const QString &columnList,
                   const QString &titleSizes,
                   const QString &bodySizes,
                   const QString &extra,
                   int options);
    // Shows the print preview; Success when printed, Cancelled when closed without printing.
    int PrintPreview();

    // What the layout holds, for callers that inspect it.
    bool isClosed() const { return m_closed; }
    QString title() const { return m_title; }
    const PrintStyle &style() const { return m_style; }
    QStringList columnTitles() const;
    QList<int> columnWidths() const { return m_widths; }
    qsizetype rowCount() const { return qsizetype(m_rows->size()); }
    QStringList row(qsizetype index) const { return m_rows->at(size_t(index)); }
    QList<PrintFooterItem> footer() const { return m_footer; }
    QString lastError() const { return m_lastError; }
    QString lastFile() const { return m_lastFile; }

    // The document for the given columns (all when the list is empty).
    GridDocument document(const QString &columnList = {}) const;

private:
    void reset();
    QString suggestedFileName() const;

    QPointer<QWidget> m_parentWidget;
    bool m_visible = true;
    bool m_enableSave = false;
    bool m_newStyle = false;
    bool m_closed = false;
    PrintStyle m_style;
    QString m_title;
    QList<int> m_widths;
    QStringList m_titles;
    std::shared_ptr<std::vector<QStringList>> m_rows;
    QList<PrintFooterItem> m_footer;
    QString m_lastError;
    QString m_lastFile;
    QString m_lastFolder;
};

} // namespace vorlane
