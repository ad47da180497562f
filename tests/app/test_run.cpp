// The whole program as main() starts it, one run per process (ctest runs each
// test function on its own): the application object, the real timers, the
// last-window rule and the real error report.
#include "app/run.h"
#include "forms/lmf2d.h"
#include "forms/main_form.h"
#include "runtime/conversions.h"
#include "support/builds.h"
#include "support/helpers.h"
#include "support/shown_windows.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTest>

#include <array>
#include <ctime>

using namespace forms;

namespace {

// Drives the running program a step at a time: each step waits until it is
// ready, then acts. A timer polls the steps, so they go on inside modal loops
// (a message box's) too; a program that does not end in 10 s is ended.
class Script : public QObject
{
public:
    struct Step {
        std::function<bool(qint64 msInStep)> ready;
        std::function<void()> act;
    };
    static inline QList<Step> steps;
    static inline QString failure;
    static inline qsizetype done = 0;

    static void check(bool condition, const char *what)
    {
        if (!condition && failure.isEmpty())
            failure = QString::fromLatin1(what);
    }

    explicit Script(QObject *parent)
        : QObject(parent)
    {
        m_sinceStart.start();
        m_sinceStep.start();
        m_poll.callOnTimeout(this, &Script::poll);
        m_poll.start(2);
    }

private:
    void poll()
    {
        if (m_sinceStart.elapsed() > 10'000) {
            check(false, done < steps.size() ? "a step in time" : "the program ends in time");
            QCoreApplication::exit(99);
        } else if (done < steps.size() && steps[done].ready(m_sinceStep.elapsed())) {
            steps[done++].act();
            m_sinceStep.start();
        }
    }

    QTimer m_poll;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceStep;
};

// Runs the program of `build` to its end with `steps`; returns its status.
int runProgram(const app::BuildSettings &build, QList<Script::Step> steps)
{
    Script::steps = std::move(steps);
    Script::failure.clear();
    Script::done = 0;
    static const bool started = (qAddPreRoutine([] { new Script(qApp); }), true);
    Q_UNUSED(started);
    QByteArray name(build.fileName);
    std::array<char *, 2> argv = {name.data(), nullptr};
    const int status = app::run(1, argv.data(), build);
    Script::check(Script::done == Script::steps.size(), "the program ran through every step");
    return status;
}

Main *mainWindow()
{
    return shownWindow<Main>();
}

bool holdsNumber(Field field)
{
    return mainWindow() && runtime::tryNumber(mainWindow()->text(field)).has_value();
}

// Clicks from the event loop, as a user would: a box the click opens runs its
// own loop, in which the next steps go on.
void click(QAbstractButton *button)
{
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
}

void click(const char *button)
{
    click(mainWindow()->findChild<QAbstractButton *>(QString::fromLatin1(button)));
}

const auto afterRounds
    = [](int rounds) { return [rounds](qint64 ms) { return ms >= rounds * 100 + 50; }; };
const auto now = [](qint64) { return true; };
const Script::Step ClickX = {now, [] { click("Command4"); }};

} // namespace

class TestRun : public QObject
{
    Q_OBJECT

private slots:
    void runsUntilX_data();
    void runsUntilX();
    void endsWhenItsLastWindowGoes_data();
    void endsWhenItsLastWindowGoes();
    void errorReportHoldsEveryHandlerUntilTheEnd();
    void readsTheLocalClock();
};

void TestRun::runsUntilX_data()
{
    QTest::addColumn<const app::BuildSettings *>("build");
    QTest::addColumn<QString>("desktopEntry"); // which a Wayland dock matches the window to
    for (const DeliverableFacts &deliverable : Deliverables)
        QTest::newRow(deliverable.fileName)
            << deliverable.build << QString::fromLatin1(deliverable.desktopId);
}

void TestRun::runsUntilX()
{
    QFETCH(const app::BuildSettings *, build);
    QFETCH(QString, desktopEntry);
    FakeClock clock(at("2012-03-20T10:20:30"));
    QPointer<LMF2D> eventDay;
    const int status = runProgram(
        *build,
        {{[](qint64) { return mainWindow() != nullptr; },
          [build, desktopEntry] {
              Script::check(QCoreApplication::applicationName() == build->fileName,
                            "the application is named after the build");
              Script::check(QGuiApplication::desktopFileName() == desktopEntry,
                            "the application names its desktop entry");
              Script::check(mainWindow()->windowTitle()
                                == u"Time until Lantern Moss Fair II (April 13, 2012)",
                            "the window has its caption alone");
              const QList<QSize> sizes = mainWindow()->windowIcon().availableSizes();
              Script::check(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)),
                            "the window has the program's icon");
              Script::check(mainWindow()->text(Field::Final) == u"Label2",
                            "no round before the window is shown");
          }},
         // Both timers tick in one round: once the clock has been read, the
         // sentence is there, not one round later.
         {[](qint64) { return holdsNumber(Field::MonNum); },
          [] {
              Script::check(mainWindow()->text(Field::Final)
                                == u"It is 24 days 14 Hours 40 Minutes  and 30 Seconds ",
                            "the sentence after the first round");
          }},
         {afterRounds(3), [] { click("Command3"); }},
         {[](qint64) { return shownMessageBox() != nullptr; },
          [] { click(shownMessageBox()->button(QMessageBox::Ok)); }},
         {afterRounds(2),
          [&clock] {
              Script::check(mainWindow(), "the program runs on after the About box");
              clock.set(at("2012-04-13T10:00:00"));
          }},
         {[&eventDay](qint64) { return (eventDay = shownWindow<LMF2D>()) != nullptr; },
          [&eventDay] { eventDay->close(); }},
         {afterRounds(3),
          [&eventDay] {
              Script::check(mainWindow(), "the program runs on after the event-day window");
              Script::check(!eventDay, "the closed window is destroyed");
              Script::check(!shownWindow<LMF2D>(), "no second event-day window");
          }},
         ClickX});
    QVERIFY2(Script::failure.isEmpty(), qPrintable(Script::failure));
    QCOMPARE(status, 0);
}

void TestRun::endsWhenItsLastWindowGoes_data()
{
    QTest::addColumn<bool>("hide");
    QTest::newRow("hidden") << true;
    QTest::newRow("closed") << false;
}

void TestRun::endsWhenItsLastWindowGoes()
{
    QFETCH(bool, hide);
    FakeClock clock(at("2012-03-20T10:20:30"));
    const int status
        = runProgram(app::deliverables::Countdown,
                     {{[](qint64) { return holdsNumber(Field::MonNum); },
                       [hide] { hide ? mainWindow()->hide() : void(mainWindow()->close()); }}});
    QVERIFY2(Script::failure.isEmpty(), qPrintable(Script::failure));
    QCOMPARE(status, 0);
}

void TestRun::errorReportHoldsEveryHandlerUntilTheEnd()
{
    // The first reading of the clock fails; every later one would work.
    int reads = 0;
    const SeamDouble clock(runtime::setClock, [&reads] {
        if (++reads == 1)
            throw runtime::Error(runtime::ErrorNumber::TypeMismatch);
        return at("2012-03-20T10:20:30");
    });
    const int status = runProgram(
        app::deliverables::Countdown,
        {{[](qint64) { return shownMessageBox() != nullptr; },
          [] {
              Script::check(shownMessageBox()->windowTitle()
                                == QLatin1String(app::deliverables::Countdown.fileName),
                            "the program's name");
              Script::check(shownMessageBox()->text() == u"Run-time error '13': Type mismatch",
                            "the report");
              Script::check(shownMessageBox()->icon() == QMessageBox::Critical, "a critical icon");
              click("Command1"); // reads the clock, unless held
          }},
         {afterRounds(3), [] {
              Script::check(mainWindow()->text(Field::MonNum) == u"MonNum", "no field changes");
              click(shownMessageBox()->button(QMessageBox::Ok));
          }}});
    QVERIFY2(Script::failure.isEmpty(), qPrintable(Script::failure));
    QCOMPARE(reads, 1); // no handler ran under the box
    QCOMPARE(status, 1);
}

void TestRun::readsTheLocalClock()
{
    // Three quarters of an hour off every whole-hour zone: a reading in UTC,
    // or in any zone but the local one, shows another minute. Nepal's zone
    // as POSIX writes it, which the Windows C runtime reads too.
    qputenv("TZ", "NPT-05:45");
    tzset();
    const auto localTime = [] {
        const std::time_t now = std::time(nullptr);
        const std::tm parts = *std::localtime(&now);
        return QStringLiteral("%1:%2").arg(parts.tm_hour).arg(parts.tm_min);
    };
    QStringList seen; // local time before, shown, local time after
    const int status = runProgram(
        app::deliverables::Countdown,
        {{[](qint64) { return mainWindow() != nullptr; }, [&] { seen << localTime(); }},
         {[](qint64) { return holdsNumber(Field::CurMin); },
          [&] {
              seen << mainWindow()->text(Field::CurHour) + u':' + mainWindow()->text(Field::CurMin)
                   << localTime();
              click("Command4");
          }}});
    QCOMPARE(status, 0);
    QVERIFY2(seen.size() == 3 && (seen[1] == seen[0] || seen[1] == seen[2]),
             qPrintable(seen.join(u", ")));
}

QTEST_APPLESS_MAIN(TestRun)
#include "test_run.moc"
