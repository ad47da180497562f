#include "main_window/main.h"
#include "deliverables.h"
#include "program_icon.h"
#include "runtime/errors.h"

#include <QApplication>
#include <QEvent>

#include <cstdlib>

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

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const runtime::BuildSettings &build = deliverables::DELIVERABLE;
    QCoreApplication::setApplicationName(QString::fromUtf8(build.fileName));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(build.versionText));
    QCoreApplication::setOrganizationName(QString::fromUtf8(build.company));
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
