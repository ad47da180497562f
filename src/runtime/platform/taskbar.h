#pragma once

class QWidget;

namespace platform {

// Keeps `window` off the taskbar each time it is shown. On Windows Qt::Tool
// already does; there the window is also owned by a hidden window, as the
// old runtime's forms were. On X11 Qt marks a tool window as a utility
// window only, which some window managers (openbox) still list, so the
// window also asks for _NET_WM_STATE_SKIP_TASKBAR before every mapping.
// Wayland has no way to ask.
// One definition per window system, chosen by the build.
void keepOffTaskbar(QWidget *window);

} // namespace platform
