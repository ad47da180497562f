// One round of the program, in process: clock sampling (Timer1) then the
// automatic countdown (Timer2), on the real Main window shown on Qt's
// offscreen platform, with a fake clock walking forward 100 ms a round.
#include "app/deliverables.h"
#include "forms/main_form.h"
#include "runtime/clock.h"
#include "runtime/program.h"
#include "support/round_driver.h"

#include <QApplication>
#include <QDateTime>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

using namespace forms;

namespace {

constexpr qint64 RoundMs = 100;
constexpr int RoundsPerSecond = 1000 / RoundMs;

// The fake clock: from March 1, 2012 on, 100 ms further at every reading, and
// back to March 1 before it reaches the event day (which stops the countdown).
qint64 fakeNow = 0;
qint64 fakeStart = 0;
qint64 fakeWrap = 0;

QDateTime fakeClock()
{
    fakeNow += RoundMs;
    if (fakeNow >= fakeWrap)
        fakeNow = fakeStart;
    // A local time from an instant, as the system clock's reading is made.
    return QDateTime::fromMSecsSinceEpoch(fakeNow);
}

struct Program {
    Main window{app::deliverables::Countdown.mainLook};
    // What the timer round delivers in one wakeup, as the tests deliver it.
    RoundDriver driver{window};

    Program()
    {
        window.show();
        QCoreApplication::processEvents();
    }
};

Program *program = nullptr;

void perSimulatedSecond(benchmark::State &state)
{
    state.counters["per_sim_second"]
        = benchmark::Counter(static_cast<double>(state.iterations()) / RoundsPerSecond,
                             benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The round's own work: what the handlers do, the repaint left pending.
void BM_Round(benchmark::State &state)
{
    for (auto _ : state)
        program->driver.round();
    QCoreApplication::processEvents();
    perSimulatedSecond(state);
}
BENCHMARK(BM_Round);

// The round as the event loop runs it: the handlers, then the repaint of what
// they changed (the sentence, once a simulated second).
void BM_RoundAndRepaint(benchmark::State &state)
{
    for (auto _ : state) {
        program->driver.round();
        QCoreApplication::processEvents();
    }
    perSimulatedSecond(state);
}
BENCHMARK(BM_RoundAndRepaint);

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    fakeStart = QDateTime(QDate(2012, 3, 1), QTime(0, 0)).toMSecsSinceEpoch();
    fakeWrap = QDateTime(QDate(2012, 4, 12), QTime(0, 0)).toMSecsSinceEpoch();
    fakeNow = fakeStart;
    runtime::setClock(fakeClock);
    // A round that fails must not pass unseen behind a message box.
    runtime::setErrorReporter([](const runtime::Error &error) {
        std::fprintf(stderr, "round failed: %s\n", qPrintable(error.report()));
        std::abort();
    });

    Program tallybell;
    program = &tallybell;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
