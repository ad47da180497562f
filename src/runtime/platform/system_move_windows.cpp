#include "runtime/platform/system_move.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>

#include <optional>

#include <windows.h>
#include <windowsx.h>

namespace platform {
namespace {

// Where a mouse button still held went down, in screen pixels, as Windows
// put it in the message.
class PressPosition : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "windows_generic_MSG")
            return false;
        const auto *msg = static_cast<const MSG *>(message);
        switch (msg->message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_XBUTTONDOWN:
        case WM_XBUTTONDBLCLK:
            m_press = msg->pt;
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP:
            m_press.reset();
            break;
        default:
            break;
        }
        return false;
    }

    std::optional<POINT> press() const { return m_press; }

private:
    std::optional<POINT> m_press;
};

PressPosition &pressPosition()
{
    static PressPosition filter;
    return filter;
}

void watchPresses()
{
    QCoreApplication::instance()->installNativeEventFilter(&pressPosition());
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchPresses)

// As the program always did it: the window takes the press for one on its
// caption, and Windows runs its own move. That move follows the pointer from
// the position of the message read last, which the old runtime read when it
// ran the handler. Qt runs it once it has read every message waiting, so on
// a busy machine the pointer may have moved on since the press: the window is
// first moved as far, so that it keeps its place under the pointer.
bool moveNatively(QWidget *window)
{
    const auto hwnd = reinterpret_cast<HWND>(window->winId());
    const std::optional<POINT> press = pressPosition().press();
    const DWORD read = GetMessagePos();
    RECT frame{};
    if (press && GetWindowRect(hwnd, &frame)) {
        const int dx = GET_X_LPARAM(read) - press->x;
        const int dy = GET_Y_LPARAM(read) - press->y;
        if (dx != 0 || dy != 0) {
            SetWindowPos(hwnd, nullptr, frame.left + dx, frame.top + dy, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    ReleaseCapture();
    LONG zero = 0;
    SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, reinterpret_cast<LPARAM>(&zero));
    return true;
}

} // namespace platform
