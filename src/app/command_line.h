#pragma once

#include "app/build_settings.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace app {

// The command line split into Qt's part and the program's own.
struct Arguments {
    QStringList own;             // starting with the program's name, for QCommandLineParser
    std::vector<std::string> qt; // the program's name and Qt's options, for QApplication
    QString platform;            // -platform, if given
    QString display;             // -display, if given
};

// Qt's own options are known here by name because the program must answer
// --help and --version, and refuse what it does not know, before it connects
// to a display (which may be missing).
Arguments splitArguments(int argc, char **argv);

// Answers what the program's own part asks for before any window opens:
// tells the help, the version or what is wrong, and returns the status to
// end with. Returns nothing when the program should start.
std::optional<int> answerCommandLine(const QStringList &own, const BuildSettings &build);

} // namespace app
