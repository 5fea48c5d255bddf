#include "NodeTree.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace vorlane {

namespace {

constexpr int KeyRole = Qt::UserRole + 1;
constexpr int TagRole = Qt::UserRole + 2;

// Node keys carry codes, which the database compares without regard to letter case; a node added
// under "CR1^hr_x^" is the node that a command later rebuilds as "CR1^HR_X^".
QString folded(const QString &key)
{
    return key.toUpper();
}

} // namespace

NodeTree::NodeTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("Tree"));
    setColumnCount(1);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(true);
    setUniformRowHeights(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void NodeTree::setImageList(std::function<QIcon(int)> images)
{
    m_images = std::move(images);
    m_icons.clear();
}

QIcon NodeTree::nodeIcon(int image, int selectedImage) const
{
    if (!m_images || image <= 0)
        return {};
    // Rendering the pixmaps is what costs; a tree of a thousand nodes shares a few icons.
    const qint64 cacheKey = (qint64(image) << 32) | quint32(selectedImage);
    const auto cached = m_icons.constFind(cacheKey);
    if (cached != m_icons.constEnd())
        return cached.value();
    QIcon icon;
    const QIcon normal = m_images(image);
    const QIcon selected = m_images(selectedImage > 0 ? selectedImage : image);
    for (const QSize &size : {QSize(16, 16), QSize(32, 32)}) {
        icon.addPixmap(normal.pixmap(size), QIcon::Normal);
        icon.addPixmap(selected.pixmap(size), QIcon::Selected);
    }
    m_icons.insert(cacheKey, icon);
    return icon;
}

QTreeWidgetItem *NodeTree::AddNode(
    const QString &parentKey, const QString &key, const QString &text, int image, int selectedImage)
{
    if (m_nodes.contains(folded(key)))
        return nullptr;
    QTreeWidgetItem *parentItem = nullptr;
    if (!parentKey.isEmpty()) {
        parentItem = m_nodes.value(folded(parentKey));
        if (!parentItem)
            return nullptr;
    }
    // Filled before it joins the tree, so the view hears of it once rather than per property.
    auto *item = new QTreeWidgetItem;
    item->setText(0, text);
    item->setData(0, KeyRole, key);
    item->setIcon(0, nodeIcon(image, selectedImage));
    if (parentItem)
        parentItem->addChild(item);
    else
        addTopLevelItem(item);
    m_nodes.insert(folded(key), item);
    m_order.append(item);
    return item;
}

QTreeWidgetItem *NodeTree::Node(const QString &key) const
{
    return m_nodes.value(folded(key));
}

void NodeTree::forget(QTreeWidgetItem *item)
{
    for (int i = 0; i < item->childCount(); ++i)
        forget(item->child(i));
    m_nodes.remove(folded(Key(item)));
    m_order.removeOne(item);
}

bool NodeTree::RemoveNode(const QString &key)
{
    QTreeWidgetItem *item = m_nodes.value(folded(key));
    if (!item)
        return false;
    forget(item);
    delete item;
    return true;
}

void NodeTree::ClearNodes()
{
    m_nodes.clear();
    m_order.clear();
    clear();
}

QString NodeTree::Key(const QTreeWidgetItem *item)
{
    return item ? item->data(0, KeyRole).toString() : QString();
}

QString NodeTree::Tag(const QTreeWidgetItem *item)
{
    return item ? item->data(0, TagRole).toString() : QString();
}

void NodeTree::setTag(QTreeWidgetItem *item, const QString &tag)
{
    if (item)
        item->setData(0, TagRole, tag);
}

void NodeTree::setNodeText(const QString &key, const QString &text)
{
    if (QTreeWidgetItem *item = m_nodes.value(folded(key)))
        item->setText(0, text);
}

QTreeWidgetItem *NodeTree::SelectedItem() const
{
    return currentItem();
}

QString NodeTree::SelectedKey() const
{
    return Key(currentItem());
}

void NodeTree::selectNode(QTreeWidgetItem *item)
{
    if (!item)
        return;
    setCurrentItem(item);
    scrollToItem(item);
}

bool NodeTree::selectKey(const QString &key)
{
    QTreeWidgetItem *item = m_nodes.value(folded(key));
    if (!item)
        return false;
    selectNode(item);
    return true;
}

void NodeTree::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && currentItem()) {
        event->accept();
        Q_EMIT EnterPressed();
        return;
    }
    const bool arrow
        = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
    QTreeWidget::keyPressEvent(event);
    if (arrow && currentItem())
        Q_EMIT ArrowMoved(key);
}

void NodeTree::mousePressEvent(QMouseEvent *event)
{
    // The right button opens the window's menu for the node already selected; it does not
    // move the selection behind the grid's back.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void NodeTree::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeWidget::mouseReleaseEvent(event);
    // A click on a node's text or image; the expand indicator only expands.
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem *item = itemAt(pos);
    if (event->button() == Qt::LeftButton && item && visualItemRect(item).contains(pos))
        Q_EMIT NodeClick();
}

void NodeTree::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()))
        Q_EMIT DblClick();
}

} // namespace vorlane
