#pragma once

#include <QString>

namespace vorlane {

// What the archive class and item editors need of the open archive browser: they add and rename
// its nodes after a save, refresh its grid and read its tree for the code length rule. The browser
// registers itself while it exists; an editor opened without it skips the callbacks.
class ArchiveBrowser
{
public:
    virtual ~ArchiveBrowser();

    virtual void AddClassNode(const QString &classKeyPart, const QString &name) = 0;
    virtual void
    AddCodeNode(const QString &parentKey, const QString &codeKeyPart, const QString &text)
        = 0;
    virtual void RefreshAfterEdit(int row) = 0;

    // The grid's current row and its row count, title row included.
    virtual int gridRow() const = 0;
    virtual int gridRows() const = 0;
    // The selected tree node's key ("" when there is none) and a new text for it.
    virtual QString selectedNodeKey() const = 0;
    virtual void setSelectedNodeText(const QString &text) = 0;
    // Whether a node with the key exists, and the key of its first child ("" when it has none).
    virtual bool hasTreeNode(const QString &key) const = 0;
    virtual QString firstChildKey(const QString &key) const = 0;

    // The archive browser while it exists, or nullptr.
    static ArchiveBrowser *open();

protected:
    static void setOpen(ArchiveBrowser *browser);
};

} // namespace vorlane
