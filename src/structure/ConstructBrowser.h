#pragma once

#include <QString>

namespace vorlane {

// What the set and item dialogs need of the open structure browser: they bring its tree and grid
// up to date after a save and read its grid's position. The browser registers itself while it is
// shown; a dialog opened without it (by a host directly) skips the callbacks.
class ConstructBrowser
{
public:
    virtual ~ConstructBrowser();

    virtual void TreeClick() = 0;
    virtual void AppendTreeChildNode(const QString &parentKey,
                                     const QString &key,
                                     const QString &text,
                                     const QString &tag)
        = 0;
    virtual void UpdateTreeNode(const QString &key, const QString &text) = 0;
    virtual void UpdateGrid(int row) = 0;

    virtual bool hasTreeNode(const QString &key) const = 0;
    virtual void setTreeNodeTag(const QString &key, const QString &tag) = 0;
    // The grid's current row and its row count, title row included.
    virtual int gridRow() const = 0;
    virtual int gridRows() const = 0;

    // The structure browser while it exists, or nullptr.
    static ConstructBrowser *open();

protected:
    static void setOpen(ConstructBrowser *browser);
};

} // namespace vorlane
