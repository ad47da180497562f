#include "runtime/platform/system_move.h"

#include "runtime/seam.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QWidget>

namespace platform {
namespace {

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

void standardMove(QWidget *window)
{
    if (!moveNatively(window))
        followPointer(window);
}

runtime::Seam<void(QWidget *)> &systemMove()
{
    static runtime::Seam<void(QWidget *)> seam(&standardMove);
    return seam;
}

} // namespace

void startSystemMove(QWidget *window)
{
    systemMove()(window);
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
    return systemMove().replace(std::move(move));
}

} // namespace platform
