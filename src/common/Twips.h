#pragma once

#include <QWidget>

#include <cmath>

namespace vorlane {

// Positions and sizes of the windows are kept in twips (1440 to the inch), as the host's layouts
// are given. At 96 dpi one pixel is 15 twips.
inline double twipsPerPixelX(const QWidget *widget)
{
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

inline double twipsPerPixelY(const QWidget *widget)
{
    const int dpi = widget ? widget->logicalDpiY() : 96;
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

inline int twipsToPixelsX(const QWidget *widget, int twips)
{
    return int(std::lround(twips / twipsPerPixelX(widget)));
}

inline int twipsToPixelsY(const QWidget *widget, int twips)
{
    return int(std::lround(twips / twipsPerPixelY(widget)));
}

inline int pixelsToTwipsX(const QWidget *widget, int pixels)
{
    return int(std::lround(pixels * twipsPerPixelX(widget)));
}

inline int pixelsToTwipsY(const QWidget *widget, int pixels)
{
    return int(std::lround(pixels * twipsPerPixelY(widget)));
}

} // namespace vorlane
