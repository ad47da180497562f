#include "app/run.h"

#include "app/command_line.h"
#include "app/program_icon.h"
#include "app/window_system.h"
#include "forms/main_form.h"
#include "runtime/program.h"

#include <QApplication>
#include <QEvent>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace app {
namespace {

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

int run(int argc, char **argv, const BuildSettings &build)
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
    const std::unique_ptr<QApplication> app = startWindowSystem(qtArgc, qtArgv.data(), arguments);

    QGuiApplication::setDesktopFileName(QString::fromUtf8(build.desktopId));
    QApplication::setWindowIcon(programIcon());
    runtime::endWhenLastWindowCloses();

    forms::Main window(build.mainLook);
    ExitAfterFirstFrame exitAfterFirstFrame;
    if (qEnvironmentVariableIsSet("TALLYBELL_EXIT_AFTER_FIRST_FRAME"))
        window.installEventFilter(&exitAfterFirstFrame);
    window.show();
    return QApplication::exec();
}

} // namespace app
