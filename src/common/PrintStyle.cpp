#include "PrintStyle.h"

#include "host/HostLogin.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace vorlane {

namespace {

QFont styleFont(double pointSize, bool bold)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

bool readBool(const QStringView text, bool fallback)
{
    if (text.isEmpty())
        return fallback;
    return text == u"true" || text == u"1" || text == u"yes";
}

double readNumber(const QStringView text, double fallback)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value : fallback;
}

void readFont(const QXmlStreamAttributes &attributes, QFont &font)
{
    const QString family = attributes.value(QLatin1String("family")).toString();
    if (!family.isEmpty())
        font.setFamily(family);
    const double size = readNumber(attributes.value(QLatin1String("pointSize")), font.pointSizeF());
    if (size > 0)
        font.setPointSizeF(size);
    font.setBold(readBool(attributes.value(QLatin1String("bold")), false));
    font.setItalic(readBool(attributes.value(QLatin1String("italic")), false));
}

QPageSize::PageSizeId pageSizeByName(const QString &name, bool *ok)
{
    static const struct
    {
        const char16_t *name;
        QPageSize::PageSizeId id;
    } sizes[] = {{u"A3", QPageSize::A3},
                 {u"A4", QPageSize::A4},
                 {u"A5", QPageSize::A5},
                 {u"B4", QPageSize::B4},
                 {u"B5", QPageSize::B5},
                 {u"Letter", QPageSize::Letter},
                 {u"Legal", QPageSize::Legal}};
    for (const auto &size : sizes) {
        if (name.compare(QStringView(size.name), Qt::CaseInsensitive) == 0) {
            *ok = true;
            return size.id;
        }
    }
    *ok = false;
    return QPageSize::A4;
}

} // namespace

PrintStyle::PrintStyle()
    : titleFont(styleFont(16, true))
    , headerFont(styleFont(9, true))
    , bodyFont(styleFont(9, false))
    , footerFont(styleFont(9, false))
{}

bool PrintStyle::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }

    PrintStyle style = *this;
    QXmlStreamReader xml(&file);
    bool sawRoot = false;
    while (xml.readNextStartElement()) {
        if (!sawRoot) {
            if (xml.name() != u"printStyle") {
                xml.raiseError(QStringLiteral("not a print style"));
                break;
            }
            sawRoot = true;
            const QString styleName = xml.attributes().value(QLatin1String("name")).toString();
            if (!styleName.isEmpty())
                style.name = styleName;
            continue;
        }
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == u"page") {
            const QString sizeName = a.value(QLatin1String("size")).toString();
            if (!sizeName.isEmpty()) {
                bool ok = false;
                style.pageSize = pageSizeByName(sizeName, &ok);
                if (!ok) {
                    xml.raiseError(QStringLiteral("unknown page size ") + sizeName);
                    break;
                }
            }
            const QStringView orientation = a.value(QLatin1String("orientation"));
            if (orientation == u"portrait")
                style.orientation = QPageLayout::Portrait;
            else if (orientation == u"landscape")
                style.orientation = QPageLayout::Landscape;
            style.marginsMm
                = QMarginsF(readNumber(a.value(QLatin1String("marginLeft")), marginsMm.left()),
                            readNumber(a.value(QLatin1String("marginTop")), marginsMm.top()),
                            readNumber(a.value(QLatin1String("marginRight")), marginsMm.right()),
                            readNumber(a.value(QLatin1String("marginBottom")), marginsMm.bottom()));
            style.pageOrigin = a.value(QLatin1String("origin")).toString();
            style.pageExtent = a.value(QLatin1String("extent")).toString();
            xml.skipCurrentElement();
        } else if (xml.name() == u"fonts") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"font") {
                    const QStringView role = xml.attributes().value(QLatin1String("role"));
                    if (role == u"title")
                        readFont(xml.attributes(), style.titleFont);
                    else if (role == u"header")
                        readFont(xml.attributes(), style.headerFont);
                    else if (role == u"body")
                        readFont(xml.attributes(), style.bodyFont);
                    else if (role == u"footer")
                        readFont(xml.attributes(), style.footerFont);
                }
                xml.skipCurrentElement();
            }
        } else if (xml.name() == u"table") {
            style.gridLines = readBool(a.value(QLatin1String("gridLines")), gridLines);
            const QColor background(a.value(QLatin1String("headerBackground")).toString());
            if (background.isValid())
                style.headerBackground = background;
            style.cellPaddingMm = readNumber(a.value(QLatin1String("cellPadding")), cellPaddingMm);
            style.fitToWidth = readNumber(a.value(QLatin1String("fitToWidth")), fitToWidth);
            style.columnLayout = a.value(QLatin1String("layout")).toString();
            xml.skipCurrentElement();
        } else if (xml.name() == u"columns") {
            const QString alignmentList = a.value(QLatin1String("alignments")).toString();
            if (!alignmentList.isEmpty())
                style.alignments = alignmentList.split(u',');
            xml.skipCurrentElement();
        } else if (xml.name() == u"title") {
            style.titleTop = a.value(QLatin1String("top")).toString();
            style.titleWidth = a.value(QLatin1String("width")).toString();
            xml.skipCurrentElement();
        } else if (xml.name() == u"footer") {
            const QString places = a.value(QLatin1String("places")).toString();
            if (!places.isEmpty())
                style.footerPlaces = places.split(u';');
            const QString sizes = a.value(QLatin1String("sizes")).toString();
            if (!sizes.isEmpty())
                style.footerSizes = sizes.split(u',');
            style.pageNumbers = readBool(a.value(QLatin1String("pageNumbers")), pageNumbers);
            xml.skipCurrentElement();
        } else {
            xml.skipCurrentElement();
        }
    }
    if (!xml.hasError() && !sawRoot)
        xml.raiseError(QStringLiteral("empty style file"));
    if (xml.hasError()) {
        if (error)
            *error = xml.errorString();
        return false;
    }
    *this = style;
    return true;
}

Qt::Alignment PrintStyle::alignmentOf(int column) const
{
    if (alignments.isEmpty() || column < 0)
        return Qt::AlignLeft;
    const QString a = alignments.at(std::min<qsizetype>(column, alignments.size() - 1)).trimmed();
    if (a == u"右" || a.compare(u"right", Qt::CaseInsensitive) == 0)
        return Qt::AlignRight;
    if (a == u"中" || a.compare(u"center", Qt::CaseInsensitive) == 0)
        return Qt::AlignHCenter;
    return Qt::AlignLeft;
}

QPageLayout PrintStyle::pageLayout() const
{
    return QPageLayout(QPageSize(pageSize), orientation, marginsMm, QPageLayout::Millimeter);
}

QString printStyleDirectory(const QString &hostInstallPath, const QString &ownInstallPath)
{
    if (!hostInstallPath.isEmpty()) {
        const QString host = hostInstallPath + QStringLiteral("/printstyle/");
        if (QFileInfo::exists(host + QStringLiteral("BudgetStyle.xml")))
            return host;
    }
    const QString own
        = ownInstallPath.isEmpty() ? host::HostLogin::defaultInstallPath() : ownInstallPath;
    return own + QStringLiteral("/share/printstyle/");
}

} // namespace vorlane
