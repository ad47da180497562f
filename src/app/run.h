#pragma once

#include "app/build_settings.h"

namespace app {

// The whole program, as main() runs it: reads the command line, connects to
// the window system, shows the main window and runs until the program ends.
// Returns the exit status: 0 when the user ends it, 1 after an untrapped
// error or when no window system can be reached, 2 for a wrong command line.
int run(int argc, char **argv, const BuildSettings &build);

} // namespace app
