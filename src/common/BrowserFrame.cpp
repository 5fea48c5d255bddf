#include "BrowserFrame.h"

#include "GridPrint.h"
#include "HelpViewer.h"
#include "PrintStyle.h"
#include "Twips.h"
#include "WindowHelpers.h"

#include "db/DbError.h"
#include "entry/Defs.h"
#include "entry/MessageService.h"

#include <QCloseEvent>
#include <QDate>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace vorlane {

namespace {

const QString WindowTitle = QStringLiteral("人事信息管理");

// Allowances of the original window layout: the grid keeps this margin to the right edge after
// a resize (plus one pixel) and after a drag of the split bar.
constexpr int GridMarginAfterResize = 115;
constexpr int GridMarginAfterDrag = 220;
constexpr int TreeGapBelowToolbar = 30;
constexpr int TreeLeft = 15;

} // namespace

SplitBar::SplitBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture1"));
    setAutoFillBackground(true);
    setCursor(Qt::SplitHCursor);
}

void SplitBar::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT pressed(event);
    event->accept();
}

void SplitBar::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT moved(event);
    event->accept();
}

void SplitBar::mouseReleaseEvent(QMouseEvent *event)
{
    Q_EMIT released(event);
    event->accept();
}

BrowserFrame::BrowserFrame(QWidget *parent)
    : QMainWindow(parent)
    , m_canvas(new QWidget(this))
    , m_ctbCtrl(new HostToolbar(m_canvas))
    , m_toolbar(new QToolBar(m_canvas))
    , m_fraSep(new QFrame(m_canvas))
    , m_tree(new NodeTree(m_canvas))
    , m_splitBar(new SplitBar(m_canvas))
    , m_grid(new Grid(m_canvas))
    , m_xmlPrt(new PrintControl(this))
{
    m_canvas->setObjectName(QStringLiteral("FrameCanvas"));
    setCentralWidget(m_canvas);
    m_canvas->installEventFilter(this);

    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->setIconSize(QSize(20, 20));
    m_ctbCtrl->hide();
    connect(m_ctbCtrl, &HostToolbar::ButtonClick, this, &BrowserFrame::CTBCtrl1_ButtonClick);

    m_fraSep->setObjectName(QStringLiteral("fraSep"));
    m_fraSep->setFrameShape(QFrame::HLine);
    m_fraSep->setFrameShadow(QFrame::Sunken);
    m_fraSep->hide();

    m_tree->setImageList(&BrowserFrame::treeImage);
    connect(m_tree, &NodeTree::NodeClick, this, [this] { guarded([this] { nodeClick(); }); });
    connect(m_tree, &NodeTree::EnterPressed, this, [this] {
        guarded([this] {
            nodeClick();
            treeDblClick();
        });
    });
    connect(m_tree, &NodeTree::ArrowMoved, this, [this](int key) {
        guarded([this, key] { treeArrowKey(key); });
    });
    connect(m_tree, &NodeTree::DblClick, this, [this] { guarded([this] { treeDblClick(); }); });
    connect(m_tree, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        popupOperationMenu(m_tree, m_tree->viewport()->mapToGlobal(pos));
    });

    m_grid->setObjectName(QStringLiteral("Grid"));
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &Grid::DblClick, this, [this] { guarded([this] { gridDblClick(); }); });
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        popupOperationMenu(m_grid, m_grid->viewport()->mapToGlobal(pos));
    });

    connect(m_splitBar, &SplitBar::pressed, this, &BrowserFrame::onSplitPressed);
    connect(m_splitBar, &SplitBar::moved, this, &BrowserFrame::onSplitMoved);
    connect(m_splitBar, &SplitBar::released, this, &BrowserFrame::onSplitReleased);
    QPalette barPalette = m_splitBar->palette();
    barPalette.setColor(QPalette::Window, palette().color(QPalette::Window));
    m_splitBar->setPalette(barPalette);

    m_xmlPrt->setParentWidget(this);
    statusBar()->setObjectName(QStringLiteral("StBar"));
    statusBar()->setSizeGripEnabled(true);

    // The window sees these keys before its controls.
    auto addKey = [this](const QKeySequence &sequence, const QString &name, auto handler) {
        auto *action = new QAction(this);
        action->setObjectName(name);
        action->setShortcut(sequence);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    addKey(QKeySequence(Qt::Key_F3), QStringLiteral("keyFindNext"), [this] {
        guarded([this] { findNext(); });
    });
    addKey(QKeySequence(Qt::CTRL | Qt::Key_F4), QStringLiteral("keyClose"), [this] { close(); });
    addKey(QKeySequence(Qt::Key_F1), QStringLiteral("keyHelp"), [this] { ShowHelp(); });

    setMinimumSize(twipsToPixelsX(this, MinWidthTwips), twipsToPixelsY(this, MinHeightTwips));
    resize(960, 640);
}

BrowserFrame::~BrowserFrame() = default;

QStatusBar *BrowserFrame::StBar() const
{
    return statusBar();
}

int BrowserFrame::pixelTwips() const
{
    return int(std::lround(twipsPerPixelX(this)));
}

void BrowserFrame::FormLoad()
{
    if (m_loaded)
        return;
    m_loaded = true;

    setWindowIcon(windowIcon106());
    SetHelpContext(this);
    storeGridConstants();
    m_grid->setDefaultColWidth(DefaultColWidth);
    m_xmlPrt->setVisible(false);
    PrintStylePath = printStyleDirectory(Defs::instance().login().InstallPath());

    // A reused window keeps its buttons and menus; the style may have changed since.
    if (!m_built) {
        m_built = true;
        buildToolbarAndMenus();
    }
    ApplyToolbarStyle(this);

    loadData();
    ShowStatusBar(StBar());
    nodeClick();
    ArrangeControls();
}

void BrowserFrame::setTreeWidthTwips(int twips)
{
    m_treeWidth = std::max(0, twips);
    ArrangeControls();
}

bool BrowserFrame::guarded(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const db::DbError &error) {
        showMessage(error.message(), WindowTitle);
    } catch (const HostError &error) {
        showMessage(error.message(), WindowTitle);
    } catch (const std::exception &error) {
        showMessage(QString::fromStdString(error.what()), WindowTitle);
    }
    return false;
}

BrowserFrame::ActiveControl BrowserFrame::activeControl() const
{
    if (m_activeOverride)
        return *m_activeOverride;
    // The focus widget of a window stays set while the window is inactive or a menu is open.
    const QWidget *focus = focusWidget();
    if (!focus)
        return ActiveControl::None;
    if (focus == m_grid || m_grid->isAncestorOf(focus))
        return ActiveControl::Grid;
    if (focus == m_tree || m_tree->isAncestorOf(focus))
        return ActiveControl::Tree;
    return ActiveControl::None;
}

int BrowserFrame::leftTwips(const QWidget *widget) const
{
    return pixelsToTwipsX(this, widget->x());
}

int BrowserFrame::widthTwips(const QWidget *widget) const
{
    return pixelsToTwipsX(this, widget->width());
}

int BrowserFrame::topTwips(const QWidget *widget) const
{
    return pixelsToTwipsY(this, widget->y());
}

int BrowserFrame::heightTwips(const QWidget *widget) const
{
    return pixelsToTwipsY(this, widget->height());
}

void BrowserFrame::setTwipsGeometry(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsToPixelsX(this, left),
                        twipsToPixelsY(this, top),
                        std::max(0, twipsToPixelsX(this, width)),
                        std::max(0, twipsToPixelsY(this, height)));
}

void BrowserFrame::ArrangeControls()
{
    const int p = pixelTwips();
    const int W = widthTwips(m_canvas);
    const int H = heightTwips(m_canvas);

    // Both toolbars take the same height, so that either look leaves the panes in place.
    const int toolbarHeight
        = std::max(m_toolbar->sizeHint().height(), m_ctbCtrl->sizeHint().height());
    m_toolbar->setGeometry(0, m_toolbar->y(), m_canvas->width(), toolbarHeight);
    m_ctbCtrl->setGeometry(m_ctbCtrl->x(), m_ctbCtrl->y(), m_canvas->width(), toolbarHeight);
    if (!m_fraSep->isHidden()) {
        m_fraSep->setGeometry(m_fraSep->x(),
                              m_toolbar->y() + m_toolbar->height(),
                              m_canvas->width() + twipsToPixelsX(this, 200),
                              m_fraSep->height());
    }

    // Menu bar and status bar are outside the canvas, so the panes reach down to its bottom.
    const int treeTop = topTwips(m_ctbCtrl) + heightTwips(m_ctbCtrl) + p + TreeGapBelowToolbar;
    const int paneHeight = std::max(0, H - treeTop - p);
    setTwipsGeometry(m_tree, TreeLeft, treeTop, m_treeWidth, paneHeight);

    m_barLeft = TreeLeft + m_treeWidth;
    setTwipsGeometry(m_splitBar, m_barLeft, treeTop, SplitBarWidthTwips, paneHeight);

    const int gridLeft = m_barLeft + SplitBarWidthTwips;
    const int gridWidth = W - gridLeft - p - GridMarginAfterResize;
    setTwipsGeometry(m_grid, gridLeft, treeTop, gridWidth, paneHeight);
}

void BrowserFrame::onSplitPressed(QMouseEvent *)
{
    QPalette pal = m_splitBar->palette();
    pal.setColor(QPalette::Window, palette().color(QPalette::Dark)); // button shadow
    m_splitBar->setPalette(pal);
}

void BrowserFrame::onSplitMoved(QMouseEvent *event)
{
    m_splitBar->setCursor(Qt::SplitHCursor);
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const int x = pixelsToTwipsX(this, int(std::lround(event->position().x())));
    const int left = std::clamp(m_barLeft + x, int(SplitMinTwips), int(SplitMaxTwips));
    m_barLeft = left;
    m_splitBar->move(twipsToPixelsX(this, left), m_splitBar->y());
    m_splitBar->raise();
}

void BrowserFrame::onSplitReleased(QMouseEvent *event)
{
    QPalette pal = m_splitBar->palette();
    pal.setColor(QPalette::Window, palette().color(QPalette::Window));
    m_splitBar->setPalette(pal);
    if (event->button() != Qt::LeftButton)
        return;
    const int treeLeft = leftTwips(m_tree);
    if (m_barLeft <= treeLeft)
        return;
    m_treeWidth = m_barLeft - treeLeft;
    setTwipsGeometry(m_tree, treeLeft, topTwips(m_tree), m_treeWidth, heightTwips(m_tree));
    const int gridLeft = m_barLeft + SplitBarWidthTwips;
    const int available
        = widthTwips(m_canvas) - treeLeft - m_treeWidth - SplitBarWidthTwips - GridMarginAfterDrag;
    const int gridWidth = available > 0 ? available : widthTwips(m_grid);
    setTwipsGeometry(m_grid, gridLeft, topTwips(m_grid), gridWidth, heightTwips(m_grid));
}

void BrowserFrame::treeArrowKey(int key)
{
    if (key == Qt::Key_Up || key == Qt::Key_Down)
        nodeClick();
}

void BrowserFrame::popupOperationMenu(QWidget *source, const QPoint &position)
{
    if (!m_operationMenu || m_tree->NodeCount() == 0)
        return;
    if (!prepareOperationMenu(source))
        return;
    m_operationMenu->popup(position);
}

void BrowserFrame::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (isMinimized())
        return;
    const int minWidth = twipsToPixelsX(this, MinWidthTwips);
    const int minHeight = twipsToPixelsY(this, MinHeightTwips);
    if (width() < minWidth || height() < minHeight)
        resize(std::max(width(), minWidth), std::max(height(), minHeight));
    ArrangeControls();
}

void BrowserFrame::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        guarded([this] { FormLoad(); });
    QMainWindow::showEvent(event);
    ArrangeControls();
}

void BrowserFrame::closeEvent(QCloseEvent *event)
{
    // Unloading makes the next show start up again.
    if (m_loaded) {
        m_loaded = false;
        guarded([this] { formUnload(); });
    }
    event->accept();
}

bool BrowserFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_canvas && event->type() == QEvent::Resize && !isMinimized())
        ArrangeControls();
    return QMainWindow::eventFilter(watched, event);
}

void BrowserFrame::ExportGrid()
{
    if (m_tree->NodeCount() == 0)
        return;
    ColumnTitles = VisibleColumnTitles(*m_grid);
    if (!PrintGrid(2))
        return;
    QString titleList;
    for (const QString &title : std::as_const(ColumnTitles))
        titleList += title + u',';
    const int result = m_xmlPrt->SaveToFile(
        titleList, QStringLiteral("8,8,30"), QStringLiteral("10,10,10"), QString(), 0);
    if (result == PrintControl::Success)
        showMessage(QStringLiteral("成功输出到文件。"), WindowTitle);
    else if (result != PrintControl::Cancelled)
        showMessage(QStringLiteral("输出到文件失败！"), WindowTitle);
}

bool BrowserFrame::PrintGrid(int mode)
{
    const QString title = m_tree->SelectedItem() ? m_tree->SelectedItem()->text(0) : QString();
    VexaLogin &login = Defs::instance().login();
    return PrepareGridPrint(mode,
                            *m_xmlPrt,
                            *m_grid,
                            ColumnTitles,
                            title,
                            PrintStylePath + u"BudgetStyle.xml",
                            login.AccountName(),
                            login.OperatorName(),
                            QDate::currentDate().toString(QStringLiteral("yyyy.MM.dd")));
}

void BrowserFrame::PrintPreviewGrid()
{
    if (m_tree->NodeCount() == 0)
        return;
    ColumnTitles = VisibleColumnTitles(*m_grid);
    if (PrintGrid(1))
        m_xmlPrt->PrintPreview();
}

void BrowserFrame::ShowHelp()
{
    ShowHelpFor(this);
}

void BrowserFrame::Toolbar1_ButtonClick(const QString &buttonKey)
{
    guarded([this, &buttonKey] {
        if (!acceptsButton(buttonKey))
            return;
        if (buttonKey == u"Exit")
            close();
        else if (buttonKey == u"Help")
            ShowHelp();
        else
            toolbarButtonClick(buttonKey);
    });
    if (buttonKey != u"Exit")
        m_ctbCtrl->Refresh();
}

void BrowserFrame::Toolbar1_ButtonMenuClick(const QString &buttonKey, const QString &menuKey)
{
    guarded([this, &buttonKey, &menuKey] { toolbarButtonMenuClick(buttonKey, menuKey); });
}

void BrowserFrame::CTBCtrl1_ButtonClick(const QString &buttonKey, const QString &menuKey)
{
    if (menuKey.isEmpty())
        Toolbar1_ButtonClick(buttonKey);
    else
        Toolbar1_ButtonMenuClick(buttonKey, menuKey);
}

QAction *BrowserFrame::addToolbarButton(const QString &key,
                                        const QString &caption,
                                        const QString &imageKey,
                                        const QList<ButtonMenuEntry> &menuEntries)
{
    auto *action = new QAction(toolbarImage(imageKey), caption, this);
    action->setObjectName(key);
    connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });

    auto *button = new QToolButton(m_toolbar);
    button->setObjectName(key);
    button->setDefaultAction(action);
    button->setToolButtonStyle(m_toolbar->toolButtonStyle());
    button->setIconSize(m_toolbar->iconSize());
    button->setAutoRaise(true);
    if (!menuEntries.isEmpty()) {
        auto *menu = new QMenu(button);
        menu->setObjectName(key + u"Menu");
        for (const ButtonMenuEntry &entry : menuEntries) {
            QAction *item = menu->addAction(entry.caption);
            item->setObjectName(entry.key);
            const QString menuKey = entry.key;
            connect(item, &QAction::triggered, this, [this, key, menuKey] {
                Toolbar1_ButtonMenuClick(key, menuKey);
            });
            m_menuEntries.insert(key + u'/' + entry.key, item);
        }
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    m_toolbar->addWidget(button);
    m_buttons.insert(key, action);
    return action;
}

QAction *BrowserFrame::toolbarButton(const QString &key) const
{
    return m_buttons.value(key);
}

QAction *BrowserFrame::buttonMenuEntry(const QString &buttonKey, const QString &menuKey) const
{
    return m_menuEntries.value(buttonKey + u'/' + menuKey);
}

QMenu *BrowserFrame::addMenu(const QString &name, const QString &caption)
{
    QMenu *menu = menuBar()->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

QAction *BrowserFrame::addMenuAction(QMenu *menu,
                                     const QString &name,
                                     const QString &caption,
                                     std::function<void()> handler)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    if (handler)
        connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] {
            guarded(handler);
        });
    return action;
}

QMenu *BrowserFrame::addFileMenu(const QString &exitCaption)
{
    QMenu *menu = addMenu(QStringLiteral("mnuFile"), QStringLiteral("文件(&F)"));
    addMenuAction(
        menu, QStringLiteral("mnuExport"), QStringLiteral("导出(&E)"), [this] { ExportGrid(); });
    addMenuAction(menu, QStringLiteral("mnuPrint"), QStringLiteral("打印(&P)…"), [this] {
        PrintPreviewGrid();
    });
    menu->addSeparator();
    addMenuAction(menu, QStringLiteral("mnuExit"), exitCaption, [this] {
        Toolbar1_ButtonClick(QStringLiteral("Exit"));
    });
    return menu;
}

QMenu *BrowserFrame::addHelpMenu()
{
    QMenu *menu = addMenu(QStringLiteral("mnuHelp"), QStringLiteral("帮助(&H)"));
    addMenuAction(menu, QStringLiteral("mnuHelp1"), QStringLiteral("帮助(&H)"), [this] {
        Toolbar1_ButtonClick(QStringLiteral("Help"));
    });
    return menu;
}

} // namespace vorlane
