#pragma once

#include <QIcon>

// The program's icon (an hourglass), in the sizes the desktop asks for.
QIcon programIcon();
