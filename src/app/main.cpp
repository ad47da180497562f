#include "deliverables.h"
#include "main_window/main.h"
#include "program_icon.h"
#include "runtime/errors.h"

#include <QApplication>

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
    window.show();
    return QApplication::exec();
}
