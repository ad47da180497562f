#pragma once

#include "runtime/layout.h"

#include <array>
#include <cstddef>

namespace forms {

// What tells the main window of one build from another's: the font of the
// sentence and of the line beneath it, and where that line stands.
struct MainLook {
    runtime::Font sentenceFont;
    int label12Top = 0; // twips
};

extern const runtime::Window MainWindow;

// As many as the main window's layout table has rows: a table of another
// length does not compile.
inline constexpr std::size_t MainControlCount = 41;
using MainControls = std::array<runtime::Control, MainControlCount>;

// The controls of the main window in their creation order.
MainControls mainControls(const MainLook &look);

} // namespace forms
