#include "app/window_system.h"

#include "app/console.h"

#include <QApplication>

#include <cstdlib>
#include <functional>
#include <vector>

namespace app {
namespace {

// What the user is told when Qt cannot reach the window system it was asked
// for, in place of Qt's own report and abort.
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

// Holds back what Qt reports while it connects to the window system. When
// the connection fails, Qt ends with a fatal message and an abort: the
// program says in one line what failed instead, and ends with status 1.
// When it succeeds, the held messages are passed on as they were.
class WindowSystemStart
{
public:
    explicit WindowSystemStart(QString failure)
        : m_failure(std::move(failure))
        , m_previous(qInstallMessageHandler(&hold))
    {
        s_current = this;
    }
    ~WindowSystemStart()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
        for (const auto &replay : m_held)
            replay();
    }
    WindowSystemStart(const WindowSystemStart &) = delete;
    WindowSystemStart &operator=(const WindowSystemStart &) = delete;

private:
    static void hold(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type == QtFatalMsg) {
            tell(Channel::Error,
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

    static inline WindowSystemStart *s_current = nullptr;
    QString m_failure;
    QtMessageHandler m_previous;
    std::vector<std::function<void()>> m_held;
};

} // namespace

std::unique_ptr<QApplication> startWindowSystem(int &argc, char **argv, const Arguments &arguments)
{
    const WindowSystemStart start(windowSystemFailure(arguments));
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace app
