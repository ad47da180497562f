#pragma once

// The program's windows on screen, found as a user sees them.

#include "forms/lmf2d.h"

#include <QApplication>

// The first shown top-level window of type T, or null.
template<typename T>
T *shownWindow()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (auto *found = qobject_cast<T *>(window); found && found->isVisible())
            return found;
    }
    return nullptr;
}

// The event-day windows now shown.
inline int shownEventDayWindows()
{
    const auto windows = QApplication::topLevelWidgets();
    return int(std::count_if(windows.cbegin(), windows.cend(), [](const QWidget *window) {
        return qobject_cast<const forms::LMF2D *>(window) && window->isVisible();
    }));
}

// Closes the event-day windows and lets them be destroyed.
inline void closeEventDayWindows()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (qobject_cast<forms::LMF2D *>(widget))
            widget->close();
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
