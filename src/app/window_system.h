#pragma once

#include "app/command_line.h"

#include <QString>
#include <QtMessageHandler>

#include <functional>
#include <vector>

namespace app {

// What the user is told when Qt cannot reach the window system it was asked
// for, in place of Qt's own report and abort.
QString windowSystemFailure(const Arguments &arguments);

// Holds back what Qt reports while it connects to the window system, for as
// long as it lives. When the connection fails, Qt ends with a fatal message
// and an abort: the program says in one line what failed instead, and ends
// with status 1. When it succeeds, the held messages are passed on as they
// were.
class WindowSystemStart
{
public:
    explicit WindowSystemStart(QString failure);
    ~WindowSystemStart();
    WindowSystemStart(const WindowSystemStart &) = delete;
    WindowSystemStart &operator=(const WindowSystemStart &) = delete;

private:
    static void hold(QtMsgType type, const QMessageLogContext &context, const QString &text);

    static inline WindowSystemStart *s_current = nullptr;
    QString m_failure;
    QtMessageHandler m_previous;
    std::vector<std::function<void()>> m_held;
};

} // namespace app
