#include "runtime/platform/system_move.h"

#include <QWidget>
#include <QWindow>

namespace platform {

bool moveNatively(QWidget *window)
{
    QWindow *handle = window->windowHandle();
    return handle && handle->startSystemMove();
}

} // namespace platform
