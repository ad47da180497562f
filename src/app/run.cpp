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
#include <functional>
#include <optional>
#include <string>
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
    QStringList own;             // starting with the program's name, for QCommandLineParser
    std::vector<std::string> qt; // the program's name and Qt's options, for QApplication
    QString platform;            // -platform, if given
    QString display;             // -display, if given
};

Arguments splitArguments(int argc, char **argv)
{
    Arguments arguments;
    arguments.own << QString::fromLocal8Bit(argc > 0 ? argv[0] : "");
    arguments.qt.emplace_back(argc > 0 ? argv[0] : "");
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!argument.starts_with('-')) {
            arguments.own << QString::fromLocal8Bit(argv[i]);
            continue;
        }
        // Qt takes its options with one dash or two, each as -name value but
        // only a few as -name=value: they are handed on as two arguments.
        const std::size_t equals = argument.find('=');
        std::string_view name = argument.substr(0, equals);
        name.remove_prefix(name.starts_with("--") ? 2 : 1);
        if (contains(QtOptionsWithValue, name)) {
            arguments.qt.emplace_back(argument.substr(0, equals));
            const char *value = nullptr;
            if (equals != std::string_view::npos)
                value = argv[i] + equals + 1;
            else if (i + 1 < argc)
                value = argv[++i];
            if (value)
                arguments.qt.emplace_back(value);
            if (value && name == "platform")
                arguments.platform = QString::fromLocal8Bit(value);
            else if (value && name == "display")
                arguments.display = QString::fromLocal8Bit(value);
        } else if (contains(QtFlags, name)) {
            arguments.qt.emplace_back(argument);
        } else {
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

// Answers what the command line asks for before any window opens: prints the
// help, the version or what is wrong, and returns the status to end with.
// Returns nothing when the program should start.
std::optional<int> answerCommandLine(const QStringList &own, const runtime::BuildSettings &build)
{
    const QString program = QString::fromUtf8(build.fileName);
    const auto refuse = [&program](const QString &what) {
        print(stderr, QStringLiteral("%1: %2 (see '%1 --help')\n").arg(program, what));
        return 2;
    };
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    if (!parser.parse(own)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const auto dashes = QLatin1String(unknown.first().size() == 1 ? "-" : "--");
            return refuse(QStringLiteral("unknown option '%1%2'").arg(dashes, unknown.first()));
        }
        QString error = parser.errorText(); // e.g. "Unexpected value after '--help'."
        error[0] = error[0].toLower();
        if (error.endsWith(u'.'))
            error.chop(1);
        return refuse(error);
    }
    if (parser.isSet(help)) {
        print(stdout, usage(program));
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, program + u' ' + QString::fromUtf8(build.versionText) + u'\n');
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
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

    static inline WindowSystemStart *s_current = nullptr;
    QString m_failure;
    QtMessageHandler m_previous;
    std::vector<std::function<void()>> m_held;
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

int run(int argc, char **argv, const runtime::BuildSettings &build)
{
    QCoreApplication::setApplicationName(QString::fromUtf8(build.fileName));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(build.versionText));
    QCoreApplication::setOrganizationName(QString::fromUtf8(build.company));

    Arguments arguments = splitArguments(argc, argv);
    if (const std::optional<int> status = answerCommandLine(arguments.own, build))
        return *status;

    // QApplication keeps both for its lifetime.
    std::vector<char *> qtArgv(arguments.qt.size() + 1, nullptr);
    std::transform(arguments.qt.begin(), arguments.qt.end(), qtArgv.begin(),
                   [](std::string &argument) { return argument.data(); });
    int qtArgc = static_cast<int>(arguments.qt.size());
    std::optional<WindowSystemStart> start(std::in_place, windowSystemFailure(arguments));
    QApplication app(qtArgc, qtArgv.data());
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
