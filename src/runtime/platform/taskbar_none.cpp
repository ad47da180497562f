#include "runtime/platform/taskbar.h"

namespace platform {

// Qt::Tool is all there is to ask for here.
void keepOffTaskbar(QWidget *)
{
}

} // namespace platform
