#include "runtime/system_move.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace runtime {
namespace {

SystemMove &installedMove()
{
    static SystemMove move;
    return move;
}

#ifdef Q_OS_WIN
// As the program always did it: the window takes the press for one on its
// caption, and Windows runs its own move.
bool nativeMove(QWidget *window)
{
    ReleaseCapture();
    LONG zero = 0;
    SendMessageA(reinterpret_cast<HWND>(window->winId()), WM_NCLBUTTONDOWN, HTCAPTION,
                 reinterpret_cast<LPARAM>(&zero));
    return true;
}
#else
bool nativeMove(QWidget *window)
{
    QWindow *handle = window->windowHandle();
    return handle && handle->startSystemMove();
}
#endif

// Moves a window with the pointer until the mouse button is released.
class PointerFollower : public QObject
{
public:
    explicit PointerFollower(QWidget *window)
        : QObject(window)
        , m_window(window)
        , m_offset(QCursor::pos() - window->pos())
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->buttons() == Qt::NoButton)
                deleteLater(); // the release went elsewhere
            else
                m_window->move(mouse->globalPosition().toPoint() - m_offset);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            deleteLater();
        }
        return false;
    }

private:
    QWidget *m_window;
    QPoint m_offset;
};

} // namespace

void startSystemMove(QWidget *window)
{
    if (const SystemMove &move = installedMove()) {
        move(window);
        return;
    }
    if (!nativeMove(window))
        followPointer(window);
}

void followPointer(QWidget *window)
{
    const QObjectList children = window->children(); // deleting changes the list
    for (QObject *child : children) {
        if (auto *follower = dynamic_cast<PointerFollower *>(child))
            delete follower;
    }
    new PointerFollower(window);
}

SystemMove setSystemMove(SystemMove move)
{
    return std::exchange(installedMove(), std::move(move));
}

} // namespace runtime
