// The images of the browser windows, drawn once per application.

#include "BrowserFrame.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace vorlane {

namespace {

// Decoding the style's images is the dearest part of building a window; every window shares them.
// They go when the application does.
QHash<QString, QIcon> &imageCache()
{
    static QHash<QString, QIcon> *cache = [] {
        auto *images = new QHash<QString, QIcon>;
        qAddPostRoutine([] { imageCache().clear(); });
        return images;
    }();
    return *cache;
}

template<class Make>
QIcon cachedImage(const QString &key, Make make)
{
    QHash<QString, QIcon> &cache = imageCache();
    auto found = cache.constFind(key);
    if (found == cache.constEnd())
        found = cache.insert(key, make());
    return found.value();
}

} // namespace

QIcon BrowserFrame::toolbarImage(const QString &key)
{
    return cachedImage(u"toolbar/" + key, [&key] { return makeToolbarImage(key); });
}

QIcon BrowserFrame::treeImage(int index)
{
    return cachedImage(u"tree/" + QString::number(index), [index] { return makeTreeImage(index); });
}

QIcon BrowserFrame::windowIcon106()
{
    return cachedImage(QStringLiteral("window/106"), [] { return makeWindowIcon106(); });
}

QIcon BrowserFrame::makeToolbarImage(const QString &key)
{
    static const QHash<QString, QStyle::StandardPixmap> images = {
        {QStringLiteral("增加"), QStyle::SP_FileDialogNewFolder},
        {QStringLiteral("修改"), QStyle::SP_FileDialogDetailedView},
        {QStringLiteral("删除"), QStyle::SP_TrashIcon},
        {QStringLiteral("刷新"), QStyle::SP_BrowserReload},
        {QStringLiteral("定位"), QStyle::SP_FileDialogContentsView},
        {QStringLiteral("帮助"), QStyle::SP_DialogHelpButton},
        {QStringLiteral("退出"), QStyle::SP_DialogCloseButton},
        {QStringLiteral("业务定制"), QStyle::SP_FileDialogListView},
        {QStringLiteral("设置"), QStyle::SP_FileDialogInfoView},
        {QStringLiteral("排序"), QStyle::SP_ArrowDown},
    };
    const auto found = images.constFind(key);
    if (found == images.constEnd())
        return {};
    return QApplication::style()->standardIcon(found.value());
}

QIcon BrowserFrame::makeTreeImage(int index)
{
    QStyle *style = QApplication::style();
    switch (index) {
    case 1:
        return style->standardIcon(QStyle::SP_DirClosedIcon);
    case 2:
        return style->standardIcon(QStyle::SP_DirOpenIcon);
    case 3:
        return style->standardIcon(QStyle::SP_FileIcon);
    case 4:
        return style->standardIcon(QStyle::SP_FileLinkIcon);
    default:
        return {};
    }
}

QIcon BrowserFrame::makeWindowIcon106()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x1F, 0x6F, 0xB2));
        painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 5.0, size / 5.0);
        painter.setBrush(Qt::white);
        // A person: head and shoulders.
        const double s = size;
        painter.drawEllipse(QRectF(s * 0.36, s * 0.16, s * 0.28, s * 0.28));
        painter.drawRoundedRect(QRectF(s * 0.22, s * 0.50, s * 0.56, s * 0.34), s * 0.14, s * 0.14);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace vorlane
