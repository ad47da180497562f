#pragma once

#include <QIcon>

namespace app {

// The program's icon (an hourglass), in the sizes the desktop asks for.
QIcon programIcon();

} // namespace app
