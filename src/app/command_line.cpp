#include "app/command_line.h"

#include "app/console.h"

#include <QCommandLineParser>

#include <algorithm>
#include <array>
#include <string_view>

namespace app {
namespace {

// Qt's own options, which QApplication takes out of the command line.
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

} // namespace

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

std::optional<int> answerCommandLine(const QStringList &own, const BuildSettings &build)
{
    const QString program = QString::fromUtf8(build.fileName);
    const auto refuse = [&program](const QString &what) {
        tell(Channel::Error, QStringLiteral("%1: %2 (see '%1 --help')\n").arg(program, what));
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
        tell(Channel::Output, usage(program));
        return 0;
    }
    if (parser.isSet(version)) {
        tell(Channel::Output, program + u' ' + QString::fromUtf8(build.versionText) + u'\n');
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    return std::nullopt;
}

} // namespace app
