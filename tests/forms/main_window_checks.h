#pragma once

// What the main window's tests measure with.

#include <QColor>
#include <QImage>
#include <QRect>

// The client area: what lies beyond it is never seen.
inline const QRect VisibleArea(0, 0, 282, 146);

// How many pixels of `area` in `image` are `colour`.
inline int countPixels(const QImage &image, const QRect &area, QColor colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) == colour)
                ++count;
        }
    }
    return count;
}
