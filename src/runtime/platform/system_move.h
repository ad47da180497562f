#pragma once

#include <functional>

class QWidget;

namespace platform {

// Starts the window system's interactive move of `window`, which then follows
// the pointer until the mouse button is released. Where the window system
// refuses (X11 without a window manager), the window is moved by hand.
void startSystemMove(QWidget *window);

// Seam for tests: replaces what starting the move does. Returns the previous
// function; an empty function restores the standard move.
using SystemMove = std::function<void(QWidget *window)>;
SystemMove setSystemMove(SystemMove move);

// The fallback: moves `window` with the pointer until the button is released.
void followPointer(QWidget *window);

// Hands the move to the window system; false where it refuses. One
// definition per window system, chosen by the build.
bool moveNatively(QWidget *window);

} // namespace platform
