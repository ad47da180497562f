// Replays the kept fuzz corpus through the fuzzer's checks: a plain program,
// so that the regression test needs no clang.
#include "number_check.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIRECTORY...\n", argv[0]);
        return 2;
    }
    int inputs = 0;
    int failures = 0;
    for (int arg = 1; arg < argc; ++arg) {
        const QDir dir(QString::fromLocal8Bit(argv[arg]));
        const QStringList names = dir.entryList(QDir::Files, QDir::Name);
        for (const QString &name : names) {
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "%s: cannot read\n", qPrintable(file.fileName()));
                ++failures;
                continue;
            }
            const QByteArray bytes = file.readAll();
            ++inputs;
            const QString problem
                = fuzz::checkNumberBytes(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            if (!problem.isEmpty()) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(problem));
                ++failures;
            }
        }
    }
    std::printf("%d inputs replayed, %d failed\n", inputs, failures);
    return failures == 0 && inputs > 0 ? 0 : 1;
}
