#include "app/window_system.h"

#include <QCoreApplication>

#include <cstdlib>

namespace app {

QString windowSystemFailure(const Arguments &arguments)
{
    QString platform = arguments.platform;
    if (platform.isEmpty())
        platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.isEmpty()) {
        platform = qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland"
            ? QStringLiteral("wayland")
            : QStringLiteral("xcb");
    }
    platform = platform.section(QLatin1Char(':'), 0, 0);
    if (platform == u"xcb") {
        const QString display
            = arguments.display.isEmpty() ? qEnvironmentVariable("DISPLAY") : arguments.display;
        if (display.isEmpty())
            return QStringLiteral("cannot connect to a display: DISPLAY is not set");
        return QStringLiteral("cannot connect to the display \"%1\"").arg(display);
    }
    if (platform == u"wayland") {
        QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
        if (display.isEmpty())
            display = QStringLiteral("wayland-0");
        return QStringLiteral("cannot connect to the Wayland display \"%1\"").arg(display);
    }
    return QStringLiteral("cannot start the window system \"%1\"").arg(platform);
}

WindowSystemStart::WindowSystemStart(QString failure)
    : m_failure(std::move(failure))
    , m_previous(qInstallMessageHandler(&hold))
{
    s_current = this;
}

WindowSystemStart::~WindowSystemStart()
{
    qInstallMessageHandler(m_previous);
    s_current = nullptr;
    for (const auto &replay : m_held)
        replay();
}

void WindowSystemStart::hold(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        print(stderr,
              QCoreApplication::applicationName() + QStringLiteral(": ") + s_current->m_failure
                  + u'\n');
        std::_Exit(1);
    }
    s_current->m_held.emplace_back([type, file = context.file, line = context.line,
                                    function = context.function, category = context.category,
                                    text] {
        qt_message_output(type, QMessageLogContext(file, line, function, category), text);
    });
}

} // namespace app
