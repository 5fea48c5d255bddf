#pragma once

#include "structure/ConstructBrowser.h"

#include <QStringList>

namespace vorlane::test {

// The structure browser as the set and item editors see it, recording every call; the grid
// has `rows` rows with `row` current.
class FakeConstructBrowser : public ConstructBrowser
{
public:
    explicit FakeConstructBrowser(int row = 4, int rows = 7)
        : row(row)
        , rows(rows)
    {
        setOpen(this);
    }

    QStringList calls;
    QStringList nodes;
    int row;
    int rows;

    void TreeClick() override { calls << QStringLiteral("TreeClick"); }
    void AppendTreeChildNode(const QString &parentKey,
                             const QString &key,
                             const QString &text,
                             const QString &tag) override
    {
        calls << QStringLiteral("Append %1 %2 %3 %4").arg(parentKey, key, text, tag);
    }
    void UpdateTreeNode(const QString &key, const QString &text) override
    {
        calls << QStringLiteral("Text %1 %2").arg(key, text);
    }
    void UpdateGrid(int r) override { calls << QStringLiteral("UpdateGrid %1").arg(r); }
    bool hasTreeNode(const QString &key) const override { return nodes.contains(key); }
    void setTreeNodeTag(const QString &key, const QString &tag) override
    {
        calls << QStringLiteral("Tag %1 %2").arg(key, tag);
    }
    int gridRow() const override { return row; }
    int gridRows() const override { return rows; }
};

} // namespace vorlane::test
