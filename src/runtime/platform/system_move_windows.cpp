#include "runtime/platform/system_move.h"

#include <QWidget>

#include <windows.h>

namespace platform {

// As the program always did it: the window takes the press for one on its
// caption, and Windows runs its own move.
bool moveNatively(QWidget *window)
{
    ReleaseCapture();
    LONG zero = 0;
    SendMessageA(reinterpret_cast<HWND>(window->winId()), WM_NCLBUTTONDOWN, HTCAPTION,
                 reinterpret_cast<LPARAM>(&zero));
    return true;
}

} // namespace platform
