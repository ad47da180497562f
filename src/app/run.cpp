#include "run.h"

#include "main_window/main.h"
#include "program_icon.h"
#include "runtime/errors.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEvent>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

namespace app {
namespace {

// Qt's own options, which QApplication takes out of the command line. They
// are known here by name because the program must answer --help and
// --version, and refuse what it does not know, before it connects to a
// display (which may be missing).
constexpr std::array<std::string_view, 18> QtOptionsWithValue = {
    "platform",        "platformpluginpath",
    "platformtheme",   "plugin",
    "qwindowgeometry", "qwindowicon",
    "qwindowtitle",    "geometry",
    "title",           "icon",
    "display",         "name",
    "visual",          "session",
    "style",           "stylesheet",
    "qmljsdebugger",   "fontengine",
};
constexpr std::array<std::string_view, 5> QtFlags = {
    "reverse", "widgetcount", "testability", "nograb", "dograb",
};

template<std::size_t N>
bool contains(const std::array<std::string_view, N> &names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The command line split into Qt's part and the program's own.
struct Arguments {
    QStringList own;  // starting with the program's name, for QCommandLineParser
    QString platform; // -platform, if given
    QString display;  // -display, if given
};

Arguments splitArguments(int argc, char *argv[])
{
    Arguments arguments;
    arguments.own << QString::fromLocal8Bit(argc > 0 ? argv[0] : "");
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!argument.starts_with('-')) {
            arguments.own << QString::fromLocal8Bit(argv[i]);
            continue;
        }
        // Qt accepts its options with one dash or two, and some as -name=value.
        std::string_view name = argument.substr(argument.starts_with("--") ? 2 : 1);
        const std::size_t equals = name.find('=');
        name = name.substr(0, equals);
        if (contains(QtOptionsWithValue, name)) {
            const char *value = nullptr;
            if (equals != std::string_view::npos)
                value = argv[i] + argument.find('=') + 1;
            else if (i + 1 < argc)
                value = argv[++i];
            if (value && name == "platform")
                arguments.platform = QString::fromLocal8Bit(value);
            else if (value && name == "display")
                arguments.display = QString::fromLocal8Bit(value);
        } else if (!contains(QtFlags, name)) {
            arguments.own << QString::fromLocal8Bit(argv[i]);
        }
    }
    return arguments;
}

QString usage(const QString &program)
{
    return QStringLiteral("Usage: %1 [options]\n"
                          "Counts down to the Lantern Moss Fair II (April 13, 2012) in a small "
                          "window.\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help     Show this help and exit.\n"
                          "  -v, --version  Show the program's name and version and exit.\n"
                          "\n"
                          "Qt's own options, such as -platform, -display and -style, are "
                          "accepted too.\n")
        .arg(program);
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// What the command line asks for before any window opens: a text to print
// and the status to end with, or nothing when the program should start.
struct Answer {
    QString text;
    bool isError = false;
    int status = 0;
};

std::optional<Answer> answerCommandLine(const QStringList &own, const runtime::BuildSettings &build)
{
    const QString program = QString::fromUtf8(build.fileName);
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    const QString pointer = QStringLiteral(" (see '%1 --help')\n").arg(program);
    if (!parser.parse(own)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString dashes
                = unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
            return Answer{
                QStringLiteral("%1: unknown option '%2%3'").arg(program, dashes, unknown.first())
                    + pointer,
                true, 2};
        }
        QString error = parser.errorText(); // e.g. "Unexpected value after '--help'."
        error[0] = error[0].toLower();
        if (error.endsWith(u'.'))
            error.chop(1);
        return Answer{program + QStringLiteral(": ") + error + pointer, true, 2};
    }
    if (parser.isSet(help))
        return Answer{usage(program)};
    if (parser.isSet(version))
        return Answer{program + u' ' + QString::fromUtf8(build.versionText) + u'\n'};
    if (!parser.positionalArguments().isEmpty()) {
        return Answer{QStringLiteral("%1: unexpected argument '%2'")
                              .arg(program, parser.positionalArguments().first())
                          + pointer,
                      true, 2};
    }
    return std::nullopt;
}

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
    {
        s_current = this;
        m_previous = qInstallMessageHandler(&hold);
    }
    ~WindowSystemStart()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
        for (const Held &message : m_held) {
            const QMessageLogContext context(message.file, message.line, message.function,
                                             message.category);
            qt_message_output(message.type, context, message.text);
        }
    }
    WindowSystemStart(const WindowSystemStart &) = delete;
    WindowSystemStart &operator=(const WindowSystemStart &) = delete;

private:
    struct Held {
        QtMsgType type;
        const char *file;
        int line;
        const char *function;
        const char *category;
        QString text;
    };

    static void hold(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type == QtFatalMsg) {
            print(stderr,
                  QCoreApplication::applicationName() + QStringLiteral(": ") + s_current->m_failure
                      + u'\n');
            std::_Exit(1);
        }
        s_current->m_held.push_back(
            {type, context.file, context.line, context.function, context.category, text});
    }

    static inline WindowSystemStart *s_current = nullptr;
    QString m_failure;
    QtMessageHandler m_previous = nullptr;
    std::vector<Held> m_held;
};

// Benchmark hook (bench/compare.sh): with TALLYBELL_EXIT_AFTER_FIRST_FRAME set
// in the environment, the program ends at once, without tearing anything
// down, as soon as its first frame has been drawn and flushed.
class ExitAfterFirstFrame : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) // the flush follows in the same call
            QMetaObject::invokeMethod(
                this, [] { std::_Exit(0); }, Qt::QueuedConnection);
        return false;
    }
};

} // namespace

int run(int argc, char *argv[], const runtime::BuildSettings &build)
{
    QCoreApplication::setApplicationName(QString::fromUtf8(build.fileName));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(build.versionText));
    QCoreApplication::setOrganizationName(QString::fromUtf8(build.company));

    const Arguments arguments = splitArguments(argc, argv);
    if (const auto answer = answerCommandLine(arguments.own, build)) {
        print(answer->isError ? stderr : stdout, answer->text);
        return answer->status;
    }

    int qtArgc = argc; // QApplication keeps a reference to it
    std::optional<WindowSystemStart> start(std::in_place, windowSystemFailure(arguments));
    QApplication app(qtArgc, argv);
    start.reset();

    QGuiApplication::setDesktopFileName(QString::fromUtf8(build.desktopId));
    QApplication::setWindowIcon(programIcon());
    runtime::endWhenLastWindowCloses();

    Main window(build);
    ExitAfterFirstFrame exitAfterFirstFrame;
    if (qEnvironmentVariableIsSet("TALLYBELL_EXIT_AFTER_FIRST_FRAME"))
        window.installEventFilter(&exitAfterFirstFrame);
    window.show();
    return QApplication::exec();
}

} // namespace app
