#pragma once

#include "runtime/layout.h"

#include <array>

namespace forms {

// What tells the main window of one build from another's: the font of the
// sentence and of the line beneath it, and where that line stands.
struct MainLook {
    runtime::Font sentenceFont;
    int label12Top = 0; // twips
};

extern const runtime::Window MainWindow;

// The 41 controls of the main window in their creation order.
std::array<runtime::Control, 41> mainControls(const MainLook &look);

} // namespace forms
