#include "runtime/platform/tool_window.h"

#include "runtime/platform/taskbar.h"

#include <QApplication>
#include <QEvent>

namespace platform {
namespace {

// Some window managers (openbox, metacity) give a tool window no focus of
// their own accord, and Qt shows one on Windows without activating it.
class ActivateWhenShown : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Sent once show() has handed the window to the window system; on X11
        // Qt holds the request until the window is mapped.
        if (event->type() == QEvent::ShowToParent && watched == parent())
            static_cast<QWidget *>(watched)->activateWindow();
        return false;
    }
};

} // namespace

void makeToolWindow(QWidget *window, bool titled)
{
    Qt::WindowFlags flags = Qt::Tool;
    if (titled) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint;
    } else {
        flags |= Qt::FramelessWindowHint;
    }
    window->setWindowFlags(flags);
    keepOffTaskbar(window);
    window->installEventFilter(new ActivateWhenShown(window));
}

KeyboardReturn::KeyboardReturn()
    : m_opener(QApplication::activeWindow())
{
}

KeyboardReturn::~KeyboardReturn()
{
    if (m_opener)
        m_opener->activateWindow();
}

} // namespace platform
