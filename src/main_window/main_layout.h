#pragma once

#include "runtime/build_settings.h"
#include "runtime/layout.h"

#include <vector>

namespace main_window {

extern const runtime::Window MainWindow;

// The 41 controls of the main window in their creation order.
std::vector<runtime::Control> mainControls(const runtime::BuildSettings &build);

} // namespace main_window
