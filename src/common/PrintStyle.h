#pragma once

#include <QColor>
#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>

namespace vorlane {

// Page setup, fonts and table look for printing and exporting a grid. Read from an XML style
// file (BudgetStyle.xml, see printStyleDirectory); a missing or unreadable file leaves the
// defaults.
struct PrintStyle
{
    QString name = QStringLiteral("Default");

    QPageSize::PageSizeId pageSize = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    QMarginsF marginsMm{15, 12, 15, 12};

    QFont titleFont;
    QFont headerFont;
    QFont bodyFont;
    QFont footerFont;

    bool gridLines = true;
    QColor headerBackground{0xE8, 0xE8, 0xE8};
    double cellPaddingMm = 1.2;
    // A table up to this many times the page width is shrunk to fit; a wider one is printed in
    // bands of columns, each on its own pages.
    double fitToWidth = 1.6;
    bool pageNumbers = true;

    // Column alignments as the layout gives them ("左", "右", "中"); the last one holds for the
    // columns beyond the list.
    QStringList alignments;

    // Layout values of the page, the column layout, the title and the footer items; they are
    // kept with the style, and the footer places position the footer items.
    QString pageOrigin;
    QString pageExtent;
    QString columnLayout;
    QString titleTop;
    QString titleWidth;
    QStringList footerPlaces;
    QStringList footerSizes;

    PrintStyle();

    // Reads a style file. On failure returns false, sets *error and leaves the style unchanged.
    bool load(const QString &path, QString *error = nullptr);

    Qt::Alignment alignmentOf(int column) const;
    QPageLayout pageLayout() const;
};

// The directory of the print style files, with a trailing "/": the host's "printstyle" directly
// under its installation path when it holds the style file "BudgetStyle.xml", else share/printstyle
// of our own installation (ownInstallPath, by default HostLogin::defaultInstallPath()).
QString printStyleDirectory(const QString &hostInstallPath, const QString &ownInstallPath = {});

} // namespace vorlane
