#pragma once

#include "app/command_line.h"

#include <memory>

class QApplication;

namespace app {

// Makes the application object, connected to the window system that the
// command line or the environment names; Qt keeps `argc` and `argv` for its
// lifetime. Where the connection fails, the program says in one line what
// failed, in place of Qt's own report and abort, and ends with status 1.
std::unique_ptr<QApplication> startWindowSystem(int &argc, char **argv, const Arguments &arguments);

} // namespace app
