#pragma once

#include <QMainWindow>
#include <QUrl>

class QTextBrowser;
class QWidget;

namespace vorlane {

// The folder of the HTML help pages (with a trailing "/"): the login context's help location,
// else the installation path's share/help/ folder.
QString helpDirectory();

// The help page of a window: by its name (frmConstructUI, frmFind, ...), else by its help
// context number through the folder's helpcontexts.txt ("20000101 construct.html" per line),
// else index.html. A page that does not exist falls back to index.html.
QString helpPageFor(int helpContext, const QString &windowName);

// The help viewer (frmHelp): one window per application, reused for every help request.
class HelpViewer : public QMainWindow
{
    Q_OBJECT

public:
    // Shows the viewer (creating it on first use) at the given page of the help folder. The
    // viewer belongs to the asking window, so that it takes input even beside a modal browser.
    static HelpViewer *showPage(const QString &page, QWidget *owner = nullptr);
    // The viewer if one is open, else nullptr.
    static HelpViewer *instance();

    QTextBrowser *browser() const { return m_browser; }
    // File name of the page on show ("construct.html").
    QString currentPage() const;

private:
    explicit HelpViewer(QWidget *parent = nullptr);
    void open(const QString &page);

    QTextBrowser *m_browser;
};

// F1 in a window: the help viewer at the window's page.
void ShowHelpFor(QWidget *window);
// Gives a dialog the F1 key (browser frames have it already).
void installHelpKey(QWidget *window);

} // namespace vorlane
