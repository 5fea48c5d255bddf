#include "HelpViewer.h"

#include "WindowHelpers.h"

#include "entry/Defs.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QRegularExpression>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QTextStream>
#include <QToolBar>

namespace vorlane {

namespace {

const QString IndexPage = QStringLiteral("index.html");

QPointer<HelpViewer> &theViewer()
{
    static QPointer<HelpViewer> viewer;
    return viewer;
}

// The pages of the component's windows.
const QHash<QString, QString> &pagesByWindow()
{
    static const QHash<QString, QString> pages = {
        {QStringLiteral("frmConstructUI"), QStringLiteral("construct.html")},
        {QStringLiteral("frmArchiveUI"), QStringLiteral("archive.html")},
        {QStringLiteral("frmOperationFlowUI"), QStringLiteral("business.html")},
        {QStringLiteral("frmAddModifyConstruct"), QStringLiteral("set-editor.html")},
        {QStringLiteral("frmAddConstructItem"), QStringLiteral("item-add.html")},
        {QStringLiteral("frmModifyConstructItem"), QStringLiteral("item-modify.html")},
        {QStringLiteral("frmAddModifyArchive"), QStringLiteral("archive-class.html")},
        {QStringLiteral("frmAddModiArchiveItem"), QStringLiteral("archive-item.html")},
        {QStringLiteral("frmXXJGroup"), QStringLiteral("category-member.html")},
        {QStringLiteral("frmFind"), QStringLiteral("find.html")},
    };
    return pages;
}

QString pageByContext(int helpContext)
{
    if (helpContext <= 0)
        return {};
    QFile file(helpDirectory() + u"helpcontexts.txt");
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList parts = line.split(QRegularExpression(QStringLiteral("\\s+")));
        if (parts.size() >= 2 && parts[0].toInt() == helpContext)
            return parts[1];
    }
    return {};
}

} // namespace

QString helpDirectory()
{
    const Defs &defs = Defs::instance();
    if (!defs.helpLocation.isEmpty())
        return defs.helpLocation.endsWith(u'/') ? defs.helpLocation : defs.helpLocation + u'/';
    if (defs.cLogin)
        return helpLocationFor(defs.cLogin->InstallPath());
    return helpLocationFor(QDir::currentPath());
}

QString helpPageFor(int helpContext, const QString &windowName)
{
    QString page = pagesByWindow().value(windowName);
    if (page.isEmpty())
        page = pageByContext(helpContext);
    if (page.isEmpty() || !QFileInfo::exists(helpDirectory() + page))
        return IndexPage;
    return page;
}

HelpViewer::HelpViewer(QWidget *parent)
    : QMainWindow(parent)
    , m_browser(new QTextBrowser(this))
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("人事信息管理 帮助"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setOpenExternalLinks(true);
    setCentralWidget(m_browser);

    QToolBar *toolbar = addToolBar(QStringLiteral("帮助"));
    toolbar->setObjectName(QStringLiteral("HelpToolbar"));
    toolbar->setMovable(false);
    QAction *back = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack),
                                       QStringLiteral("后退"),
                                       m_browser,
                                       &QTextBrowser::backward);
    back->setObjectName(QStringLiteral("Back"));
    QAction *forward = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                          QStringLiteral("前进"),
                                          m_browser,
                                          &QTextBrowser::forward);
    forward->setObjectName(QStringLiteral("Forward"));
    QAction *home = toolbar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon),
                                       QStringLiteral("目录"),
                                       this,
                                       [this] { open(IndexPage); });
    home->setObjectName(QStringLiteral("Home"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::windowTitleChanged, this, [this](const QString &title) {
        setWindowTitle(title.isEmpty() ? QStringLiteral("人事信息管理 帮助")
                                       : title + QStringLiteral(" - 人事信息管理 帮助"));
    });
    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    resize(760, 600);
}

void HelpViewer::open(const QString &page)
{
    m_browser->setSearchPaths({helpDirectory()});
    const QString path = helpDirectory() + page;
    if (QFileInfo::exists(path)) {
        m_browser->setSource(QUrl::fromLocalFile(path));
    } else {
        m_browser->setHtml(
            QStringLiteral("<h2>没有找到帮助</h2><p>帮助文件夹 %1 中没有帮助页面。</p>")
                .arg(helpDirectory().toHtmlEscaped()));
    }
}

HelpViewer *HelpViewer::showPage(const QString &page, QWidget *owner)
{
    QPointer<HelpViewer> &viewer = theViewer();
    if (!viewer)
        viewer = new HelpViewer(owner);
    else if (viewer->parentWidget() != owner)
        viewer->setParent(owner, viewer->windowFlags() | Qt::Window);
    viewer->open(page);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

HelpViewer *HelpViewer::instance()
{
    return theViewer();
}

QString HelpViewer::currentPage() const
{
    return QFileInfo(m_browser->source().toLocalFile()).fileName();
}

void ShowHelpFor(QWidget *window)
{
    if (!window)
        return;
    QWidget *top = window->window();
    HelpViewer::showPage(helpPageFor(HelpContextOf(top), top->objectName()), top);
}

void installHelpKey(QWidget *window)
{
    if (!window)
        return;
    auto *shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, [window] { ShowHelpFor(window); });
}

} // namespace vorlane
