#include "runtime/platform/taskbar.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace platform {
namespace {

// The hidden window that owns every tool window, as the old runtime's hidden
// application window owned its forms. Windows gives an owned window no
// taskbar button, and Wine, once it hands such a window to an X11 window
// manager (it does when the window opens a message box), marks it a dialog
// of the owner rather than a normal window. openbox gives such a dialog the
// keyboard back when the box closes; a normal window that skips the taskbar
// it leaves without.
QWindow *owner = nullptr;

// Windows destroys an owner's windows with it: those still there are let go
// first, and Qt destroys them itself.
void deleteOwner()
{
    const auto windows = QGuiApplication::allWindows();
    for (QWindow *window : windows) {
        if (window->transientParent() == owner)
            window->setTransientParent(nullptr);
    }
    delete owner;
    owner = nullptr;
}

QWindow *hiddenOwner()
{
    if (!owner) {
        owner = new QWindow;
        owner->setFlags(Qt::Tool);
        owner->create();
        // Goes as the application object goes, while the window system is
        // still there.
        qAddPostRoutine(deleteOwner);
    }
    return owner;
}

class Owner : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Sent right before the native window is shown, which is when Qt
        // passes the owner on to Windows.
        if (event->type() == QEvent::Show && !event->spontaneous() && watched == parent()) {
            if (QWindow *handle = static_cast<QWidget *>(watched)->windowHandle())
                handle->setTransientParent(hiddenOwner());
        }
        return false;
    }
};

} // namespace

void keepOffTaskbar(QWidget *window)
{
    window->installEventFilter(new Owner(window));
}

} // namespace platform
