#pragma once

#include <QHash>
#include <QIcon>
#include <QTreeWidget>

#include <functional>

namespace vorlane {

// The browsers' navigation tree: nodes addressed by text keys ("R1", "CR1^HR001^"), each with a
// text, a tag and a normal and a selected image, and an index order (the order in which the
// nodes were added) that find walks through.
class NodeTree : public QTreeWidget
{
    Q_OBJECT

public:
    explicit NodeTree(QWidget *parent = nullptr);

    // Images by number, as the window's image list numbers them (1 upwards).
    void setImageList(std::function<QIcon(int)> images);

    // Adds a node under the node with parentKey (a root node for an empty parentKey). Returns
    // nullptr when the key is taken or the parent does not exist.
    QTreeWidgetItem *AddNode(const QString &parentKey,
                             const QString &key,
                             const QString &text,
                             int image = 0,
                             int selectedImage = 0);
    // Keys are looked up without regard to letter case.
    QTreeWidgetItem *Node(const QString &key) const;
    bool Exists(const QString &key) const { return Node(key) != nullptr; }
    // Removes the node and everything below it.
    bool RemoveNode(const QString &key);
    void ClearNodes();

    int NodeCount() const { return int(m_order.size()); }
    // All nodes in index order.
    const QList<QTreeWidgetItem *> &Nodes() const { return m_order; }
    int IndexOf(const QTreeWidgetItem *item) const { return int(m_order.indexOf(item)); }

    static QString Key(const QTreeWidgetItem *item);
    static QString Tag(const QTreeWidgetItem *item);
    static void setTag(QTreeWidgetItem *item, const QString &tag);
    void setNodeText(const QString &key, const QString &text);

    QTreeWidgetItem *SelectedItem() const;
    QString SelectedKey() const;
    // Selects the node (scrolling it into view) without running any click handler.
    void selectNode(QTreeWidgetItem *item);
    bool selectKey(const QString &key);

Q_SIGNALS:
    void NodeClick();
    // Enter on a node.
    void EnterPressed();
    // An arrow key moved the selection (Qt::Key_Up, Key_Down, Key_Left or Key_Right).
    void ArrowMoved(int key);
    void DblClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QIcon nodeIcon(int image, int selectedImage) const;
    void forget(QTreeWidgetItem *item);

    QHash<QString, QTreeWidgetItem *> m_nodes;
    QList<QTreeWidgetItem *> m_order;
    std::function<QIcon(int)> m_images;
    mutable QHash<qint64, QIcon> m_icons; // by image and selected image
};

} // namespace vorlane
