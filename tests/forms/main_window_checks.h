#pragma once

// What the main window's tests measure with, and a fresh window to measure.

#include "app/deliverables.h"
#include "forms/main_form.h"

#include <QColor>
#include <QImage>
#include <QRect>

#include <memory>

// A suite with a fresh main window of the first build for each test function.
class MainWindowSuite : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_main = std::make_unique<forms::Main>(app::deliverables::Countdown.mainLook); }
    void cleanup() { m_main.reset(); }

protected:
    std::unique_ptr<forms::Main> m_main;
};

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
