#pragma once

#include "ConstructBrowser.h"
#include "ConstructTree.h"

#include "common/BrowserFrame.h"
#include "common/frmFind.h"

#include <functional>

namespace vorlane {

struct ConstructGridContent;

// How the structure browser opens the set and item dialogs (always modal, without an owner).
// By default through clsManagefrm; tests replace them to see the calls.
struct ConstructDialogLaunchers
{
    std::function<void(const QString &nodeKey)> addSet;
    std::function<void(const QString &table, const QString &nodeKey, const QString &sys)> modifySet;
    std::function<void(const QString &nodeKey)> addItem;
    std::function<void(const QString &table, const QString &item)> modifyItem;
};

// The structure browser ("信息集设置"): table groups and their information sets in the tree, the
// sets of a group or the items of a set in the grid, and the structure commands.
class frmConstructUI : public BrowserFrame, public ConstructBrowser
{
    Q_OBJECT

public:
    explicit frmConstructUI(QWidget *parent = nullptr);
    ~frmConstructUI() override;

    ConstructDialogLaunchers &launchers() { return m_launchers; }

    // Public operations for the set and item dialogs.
    void TreeClick() override;
    void AppendTreeChildNode(const QString &parentKey,
                             const QString &key,
                             const QString &text,
                             const QString &tag) override;
    void UpdateTreeNode(const QString &key, const QString &text) override;
    void UpdateGrid(int row) override;
    bool hasTreeNode(const QString &key) const override;
    void setTreeNodeTag(const QString &key, const QString &tag) override;
    int gridRow() const override;
    int gridRows() const override;

    // The command of a menu entry key ("ADDL", "ADDX", "MODIFYL", "MODIFYX", "DELETEL",
    // "DELETEX"), as the toolbar's button menus and the "操作(&O)" menu run it.
    void RunCommand(const QString &key);
    const FindState &findState() const { return m_find; }
    // Finds the next set node after the node index (-1: from the first node).
    void RunFind(int startAfter);
    const ConstructData &data() const { return m_data; }

Q_SIGNALS:
    // Declared for hosts that connect to it; never emitted.
    void GetToolbarStyleEvent(int &nId);

protected:
    void storeGridConstants() override;
    void buildToolbarAndMenus() override;
    void loadData() override;
    void nodeClick() override;
    void treeDblClick() override;
    void gridDblClick() override;
    void findNext() override;
    void toolbarButtonClick(const QString &key) override;
    void toolbarButtonMenuClick(const QString &buttonKey, const QString &menuKey) override;
    bool prepareOperationMenu(QWidget *source) override;
    void formUnload() override;

private:
    void fillTree();
    void showContent(const ConstructGridContent &content);
    void selectFirstNodeAndClick();
    void openFind();
    // Requests the function code, runs the command and releases the code.
    void withRight(const QString &functionCode, const std::function<void()> &command);
    QString currentCell(int col) const;
    bool gridIsActive() const;
    void modifySet();
    void modifyItem();
    void deleteSet();
    void deleteItem();

    ConstructData m_data;
    FindState m_find;
    ConstructDialogLaunchers m_launchers;
    QHash<QString, QAction *> m_operationEntries;
    int m_setColumns = 0;
    int m_itemColumns = 0;
};

} // namespace vorlane
