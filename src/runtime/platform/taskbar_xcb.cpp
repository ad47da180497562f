#include "runtime/platform/taskbar.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform {
namespace {

struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
template<typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const auto cookie
        = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

bool holdsAtom(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property,
               xcb_atom_t atom)
{
    const auto cookie = xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, 1024);
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_ATOM)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, atoms + count, atom) != atoms + count;
}

// Adds the state to the window while it is withdrawn. Qt merges its own
// states into what it finds there when it maps the window, and a window
// manager reads the property when it takes the window.
void addSkipTaskbar(xcb_window_t window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return;
    xcb_connection_t *connection = x11->connection();
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skip = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skip == XCB_ATOM_NONE
        || holdsAtom(connection, window, state, skip))
        return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, state, XCB_ATOM_ATOM, 32, 1,
                        &skip);
}

class TaskbarKeeper : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A widget gets its own show event right before its native window is
        // mapped; a spontaneous one comes from the window system once mapped.
        if (event->type() == QEvent::Show && !event->spontaneous() && watched == parent()) {
            if (const QWindow *handle = static_cast<QWidget *>(watched)->windowHandle())
                addSkipTaskbar(static_cast<xcb_window_t>(handle->winId()));
        }
        return false;
    }
};

} // namespace

void keepOffTaskbar(QWidget *window)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        window->installEventFilter(new TaskbarKeeper(window));
}

} // namespace platform
