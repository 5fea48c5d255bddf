#pragma once

#include "Grid.h"
#include "HostToolbar.h"
#include "NodeTree.h"
#include "PrintControl.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <optional>

class QFrame;
class QMenu;
class QStatusBar;
class QToolBar;

namespace vorlane {

// The vertical bar between tree and grid (Picture1); the frame drags it.
class SplitBar : public QWidget
{
    Q_OBJECT

public:
    explicit SplitBar(QWidget *parent = nullptr);

Q_SIGNALS:
    void pressed(QMouseEvent *event);
    void moved(QMouseEvent *event);
    void released(QMouseEvent *event);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// One button menu entry of a drop-down toolbar button.
struct ButtonMenuEntry
{
    QString key;
    QString caption;
};

// The frame of the three browser windows: the host's toolbar band and the window's own toolbar,
// a tree on the left, a grid on the right, a draggable split bar between them, a status bar,
// and the print control. It owns the start-up order, the resizing rules, the keyboard and mouse
// conventions, help, and printing and export of the grid.
//
// A browser derives from it, builds its toolbar and menus in buildToolbarAndMenus(), fills the
// tree in loadData() and the grid in nodeClick(), and handles its commands in
// toolbarButtonClick() and toolbarButtonMenuClick(). FormLoad() runs the start-up sequence; it
// runs by itself whenever the window is shown while not loaded: closing unloads it (formUnload),
// so a reused window starts up again on its next show. Toolbar and menus are built only once.
//
// Node clicks, toolbar and menu commands, F3, grid double clicks and the start-up on show run
// inside guarded(): a database or host error shows its text through the message service and the
// window stays usable.
class BrowserFrame : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int MinWidthTwips = 4000;
    static constexpr int MinHeightTwips = 2000;
    static constexpr int SplitMinTwips = 800;
    static constexpr int SplitMaxTwips = 9000;
    static constexpr int SplitBarWidthTwips = 75;

    explicit BrowserFrame(QWidget *parent = nullptr);
    ~BrowserFrame() override;

    HostToolbar *CTBCtrl1() const { return m_ctbCtrl; }
    QToolBar *Toolbar1() const { return m_toolbar; }
    QFrame *fraSep() const { return m_fraSep; }
    NodeTree *Tree() const { return m_tree; }
    SplitBar *Picture1() const { return m_splitBar; }
    Grid *grid() const { return m_grid; }
    QStatusBar *StBar() const;
    PrintControl *xmlPrt() const { return m_xmlPrt; }
    QWidget *canvas() const { return m_canvas; }

    // Start-up sequence: icon, help context, grid constants, print control, toolbar and menus
    // with the toolbar style, data and tree, status bar, first node click.
    void FormLoad();
    bool isLoaded() const { return m_loaded; }

    // Runs an event handler so that no error escapes it: a db::DbError, HostError or other
    // std::exception is shown (title "人事信息管理", information icon) and false returned.
    bool guarded(const std::function<void()> &handler);

    // The control a command acts on: the tree or the grid, whichever holds (or last held) the
    // window's focus; an override set by the window or a test wins.
    enum class ActiveControl { None, Tree, Grid };
    ActiveControl activeControl() const;
    void setActiveControlOverride(std::optional<ActiveControl> control)
    {
        m_activeOverride = control;
    }

    void ArrangeControls();
    // Width the tree starts with; the split bar changes it afterwards.
    void setTreeWidthTwips(int twips);
    int treeWidthTwips() const { return m_treeWidth; }
    int splitBarLeftTwips() const { return m_barLeft; }
    // One pixel, in twips.
    int pixelTwips() const;

    // "导出(&E)": the grid's visible columns and rows to a file the user chooses.
    void ExportGrid();
    // Hands the grid to the print control (mode 2: every data row); false when there is nothing.
    bool PrintGrid(int mode);
    // Print with a preview.
    void PrintPreviewGrid();
    // Opens the help viewer at this window's help context (F1, "帮助").
    void ShowHelp();

    // Runs the handlers of the window's own toolbar, as a click on Toolbar1 would. Every button,
    // "Exit" and "Help" included, passes acceptsButton() first.
    void Toolbar1_ButtonClick(const QString &buttonKey);
    void Toolbar1_ButtonMenuClick(const QString &buttonKey, const QString &menuKey);
    // The host toolbar's click, forwarded to the handlers above.
    void CTBCtrl1_ButtonClick(const QString &buttonKey, const QString &menuKey);

    // Building the toolbar: a button with its key, caption and image key ("增加", "修改", ...);
    // with menu entries it is a drop-down button whose own click does nothing but report.
    QAction *addToolbarButton(const QString &key,
                              const QString &caption,
                              const QString &imageKey,
                              const QList<ButtonMenuEntry> &menuEntries = {});
    QAction *toolbarButton(const QString &key) const;
    QAction *buttonMenuEntry(const QString &buttonKey, const QString &menuKey) const;

    // Building the menus: an entry that runs a handler (guarded); menus are objects named as given.
    QMenu *addMenu(const QString &name, const QString &caption);
    QAction *addMenuAction(QMenu *menu,
                           const QString &name,
                           const QString &caption,
                           std::function<void()> handler);
    // "文件(&F)" with "导出(&E)", "打印(&P)…" and the exit entry (mnuFile, mnuExport, mnuPrint,
    // mnuExit); the exit entry acts as the toolbar button "Exit".
    QMenu *addFileMenu(const QString &exitCaption);
    // "帮助(&H)" with "帮助(&H)" (mnuHelp, mnuHelp1).
    QMenu *addHelpMenu();
    // The "操作(&O)" menu that pops up on a right click on tree or grid.
    void setOperationMenu(QMenu *menu) { m_operationMenu = menu; }
    QMenu *operationMenu() const { return m_operationMenu; }

    // Image of the toolbar image list by key ("增加", "修改", "删除", "刷新", "定位", "帮助",
    // "退出", "业务定制", "设置", "排序") and of the tree image list by number (1 to 4).
    static QIcon toolbarImage(const QString &key);
    static QIcon treeImage(int index);
    static QIcon windowIcon106();

    // Form-level state of the frame.
    QStringList ColumnTitles;
    QString PrintStylePath;
    int DefaultColWidth = 1500;

protected:
    // Step 3 of the start-up: the window's grid constants (DefaultColWidth and its own).
    virtual void storeGridConstants() {}
    // Step 6: toolbar buttons and menus; the frame applies the toolbar style afterwards.
    virtual void buildToolbarAndMenus() {}
    // Step 7: collections and tree.
    virtual void loadData() {}
    // The tree's node-click handler: rebuild the grid for the selected node.
    virtual void nodeClick() {}
    // Double click (or Enter) on a tree node, after the node-click handler for Enter.
    virtual void treeDblClick() {}
    // An arrow key moved the tree's selection; by default Up and Down re-run the node click.
    virtual void treeArrowKey(int key);
    // Double click on the grid, or Enter in the grid.
    virtual void gridDblClick() {}
    // F3.
    virtual void findNext() {}
    // Before any toolbar button acts (Exit and Help too): false makes the click do nothing.
    virtual bool acceptsButton(const QString &key)
    {
        Q_UNUSED(key)
        return true;
    }
    virtual void toolbarButtonClick(const QString &key) { Q_UNUSED(key) }
    virtual void toolbarButtonMenuClick(const QString &buttonKey, const QString &menuKey)
    {
        Q_UNUSED(buttonKey)
        Q_UNUSED(menuKey)
    }
    // Before the operation menu pops up over the tree or the grid: show and hide its entries.
    // Returning false keeps the menu closed.
    virtual bool prepareOperationMenu(QWidget *source)
    {
        Q_UNUSED(source)
        return true;
    }
    // Form_Unload: release what the window loaded.
    virtual void formUnload() {}

    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static QIcon makeToolbarImage(const QString &key);
    static QIcon makeTreeImage(int index);
    static QIcon makeWindowIcon106();
    void onSplitPressed(QMouseEvent *event);
    void onSplitMoved(QMouseEvent *event);
    void onSplitReleased(QMouseEvent *event);
    void popupOperationMenu(QWidget *source, const QPoint &position);
    void setTwipsGeometry(QWidget *widget, int left, int top, int width, int height);
    int leftTwips(const QWidget *widget) const;
    int widthTwips(const QWidget *widget) const;
    int topTwips(const QWidget *widget) const;
    int heightTwips(const QWidget *widget) const;

    QWidget *m_canvas;
    HostToolbar *m_ctbCtrl;
    QToolBar *m_toolbar;
    QFrame *m_fraSep;
    NodeTree *m_tree;
    SplitBar *m_splitBar;
    Grid *m_grid;
    PrintControl *m_xmlPrt;
    QMenu *m_operationMenu = nullptr;
    QHash<QString, QAction *> m_buttons;
    QHash<QString, QAction *> m_menuEntries; // "buttonKey/menuKey"
    int m_treeWidth = 3200;
    int m_barLeft = 0;
    std::optional<ActiveControl> m_activeOverride;
    bool m_built = false;
    bool m_loaded = false;
};

} // namespace vorlane
