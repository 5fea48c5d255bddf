#pragma once

#include "ArchiveBrowser.h"

#include "common/BrowserFrame.h"
#include "common/frmFind.h"
#include "model/clsHrCTs.h"

#include <functional>
#include <memory>

namespace vorlane {

// How the browser opens the archive class and item editors: clsManagefrm's archive launchers,
// with the same arguments. Replaceable, so that the commands can be followed up to the call.
struct ArchiveEditorLaunchers
{
    std::function<void(int nModal, QWidget *oOwnerForm)> AddArchive;
    std::function<void(const QString &TableCode, int nModal, QWidget *oOwnerForm)> ModifyArchive;
    std::function<void(const QString &sNodeKey,
                       const QString &strTable,
                       const QString &CodeId,
                       int nLevel,
                       int nModal,
                       QWidget *oOwnerForm)>
        AddArchiveItem;
    std::function<void(
        const QString &TableCode, const QString &CodeId, int nModal, QWidget *oOwnerForm)>
        ModifyArchiveItem;
};

// The archive browser ("基础档案管理"): archive classes and, below them, their codes, added to
// the tree level by level as the user visits nodes; the grid lists the codes one level below
// the selected node. Adds and modifies open the editors; deletes are done here.
class frmArchiveUI : public BrowserFrame, public ArchiveBrowser
{
    Q_OBJECT

public:
    explicit frmArchiveUI(QWidget *parent = nullptr);
    ~frmArchiveUI() override;

    // clsManagefrm's archive launchers unless replaced.
    static ArchiveEditorLaunchers managefrmLaunchers();
    void setEditorLaunchers(ArchiveEditorLaunchers launchers)
    {
        m_launchers = std::move(launchers);
    }

    // ArchiveBrowser
    void AddClassNode(const QString &classKeyPart, const QString &name) override;
    void
    AddCodeNode(const QString &parentKey, const QString &codeKeyPart, const QString &text) override;
    void RefreshAfterEdit(int row) override;
    int gridRow() const override;
    int gridRows() const override;
    QString selectedNodeKey() const override;
    void setSelectedNodeText(const QString &text) override;
    bool hasTreeNode(const QString &key) const override;
    QString firstChildKey(const QString &key) const override;

    void LoadClassTree();
    // Lists the codes one level below the selected node, creating its child nodes on the first
    // visit.
    void ShowSelectedNode();
    // The codes listed in the grid (null after unload).
    const std::shared_ptr<clsHrCTs> &CodeListCollection() const { return m_codes; }

    // The button-menu entries ("ADDL" ... "DELETEX") with their rights check.
    void RunEntry(const QString &menuKey);
    void AddItemCommand();
    void ModifyItemCommand();
    void DeleteItemCommand();
    void DeleteArchiveItem(const QString &code, int level);
    void DeleteArchiveClass();

    // Search over the class nodes, after the node with index `start` (-1: from the first).
    FindState &findState() { return m_find; }
    void RunFind();
    void FindClassByName(int start);
    void FindClassByCode(int start);

protected:
    void storeGridConstants() override;
    void buildToolbarAndMenus() override;
    void loadData() override;
    void nodeClick() override;
    void treeArrowKey(int key) override;
    void gridDblClick() override;
    void findNext() override;
    void toolbarButtonClick(const QString &key) override;
    void toolbarButtonMenuClick(const QString &buttonKey, const QString &menuKey) override;
    bool prepareOperationMenu(QWidget *source) override;
    void formUnload() override;

private:
    void SetupCodeGrid();
    void FillCodeGrid(const clsHrCTs &codes);
    void findClass(int start, bool byCode);
    void openFind();

    ArchiveEditorLaunchers m_launchers;
    std::shared_ptr<clsHrCTs> m_codes;
    FindState m_find;
    QMenu *m_mnuOperator = nullptr;
    QList<QAction *> m_classEntries; // mnuAddCls, mnuModifyL, mnuDelL
    QList<QAction *> m_itemEntries;  // mnuAddItem, mnuModifyX, mnuDelX
};

} // namespace vorlane
