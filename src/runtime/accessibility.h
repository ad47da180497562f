#pragma once

#include "runtime/layout.h"

class QWidget;

// What a screen reader is told of a window built from a layout table. Qt's own
// view of it is an unnamed filler holding every child widget, all "showing",
// the drawn lines among them; the window's is what the user sees instead.
namespace runtime {

// Exposes `window` as a frame named by its caption and described by the
// labels `design.describedBy` names. It holds the window's buttons and labels,
// not its drawn lines and shapes; a control that lies wholly outside the
// client area is off-screen. Labels offer their text to be read. Call before
// the window's controls are created.
void exposeWindow(QWidget *window, const Window &design);

} // namespace runtime
