#pragma once

#include <QPointer>
#include <QWidget>

namespace platform {

// Makes `window` a tool window, with no taskbar button, framed by the window
// system (a title and a close box) when `titled`, else frameless; it takes
// the keyboard each time it is shown.
void makeToolWindow(QWidget *window, bool titled);

// For as long as it lives, such as while a modal box is up: the window that
// was active when it was made gets the keyboard back at its end. Some window
// managers (openbox) leave it on no window when a box goes.
class KeyboardReturn
{
public:
    KeyboardReturn();
    ~KeyboardReturn();
    KeyboardReturn(const KeyboardReturn &) = delete;
    KeyboardReturn &operator=(const KeyboardReturn &) = delete;

    // The window that was active, if it is still there.
    QWidget *opener() const { return m_opener.data(); }

private:
    QPointer<QWidget> m_opener;
};

} // namespace platform
