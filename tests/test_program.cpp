// The whole program as main() starts it, one run per process (ctest runs
// each test function on its own): the application object, the real timers,
// the last-window rule and the real error report.
#include "deliverables.h"
#include "event_day/lmf2d.h"
#include "helpers.h"
#include "main_window/main.h"
#include "run.h"
#include "runtime/conversions.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QTest>

#include <ctime>

namespace {

// Drives the running program a step at a time: each step waits until it is
// ready, then acts. A timer polls the steps, so they also go on inside
// modal loops such as a message box's.
class Script : public QObject
{
public:
    struct Step {
        const char *what;
        std::function<bool()> ready;
        std::function<void()> act;
    };

    static inline QList<Step> steps;
    static inline QString failure;
    static inline bool finished = false;

    // Started by the application object as it is built (qAddPreRoutine).
    static void start() { new Script(qApp); }

    // Ready once `ms` milliseconds have passed since the step began.
    static std::function<bool()> after(int ms)
    {
        return [ms] { return current->m_sinceStep.elapsed() >= ms; };
    }
    static void check(bool condition, const char *what)
    {
        if (!condition && failure.isEmpty())
            failure = QString::fromLatin1(what);
    }

private:
    explicit Script(QObject *parent)
        : QObject(parent)
    {
        current = this;
        m_sinceStep.start();
        m_sinceStart.start();
        m_poll.callOnTimeout(this, &Script::poll);
        m_poll.start(2);
    }
    ~Script() override { current = nullptr; }

    void poll()
    {
        if (m_sinceStart.elapsed() > 10'000) { // never hang the suite
            check(false, finished ? "the program ends" : steps[m_next].what);
            failure += QStringLiteral(": not after 10 s");
            m_poll.stop();
            QCoreApplication::exit(99);
        } else if (!finished && steps[m_next].ready()) {
            finished = m_next + 1 == steps.size();
            steps[m_next++].act();
            m_sinceStep.start();
        }
    }

    static inline Script *current = nullptr;
    QTimer m_poll;
    QElapsedTimer m_sinceStep;
    QElapsedTimer m_sinceStart;
    qsizetype m_next = 0;
};

Main *mainWindow()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (auto *main = qobject_cast<Main *>(window))
            return main;
    }
    return nullptr;
}

QWidget *eventDayWindow()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (qobject_cast<LMF2D *>(window) && window->isVisible())
            return window;
    }
    return nullptr;
}

bool holdsNumber(Field field)
{
    return runtime::tryNumber(mainWindow()->text(field)).has_value();
}

// Clicks from the event loop, as a user would: a box the click opens runs
// its own loop, in which the next steps go on.
void click(QAbstractButton *button)
{
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
}

void click(const char *button)
{
    click(mainWindow()->findChild<QAbstractButton *>(QString::fromLatin1(button)));
}

QMessageBox *messageBox()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    return box && box->isVisible() ? box : nullptr;
}

const auto always = [] { return true; };

// Runs the program of `build` to its end with `steps`; returns its status.
int runProgram(const runtime::BuildSettings &build, QList<Script::Step> steps)
{
    Script::steps = std::move(steps);
    Script::failure.clear();
    Script::finished = false;
    static const bool registered = (qAddPreRoutine(&Script::start), true);
    Q_UNUSED(registered);
    runtime::resetEnding(); // after an earlier run in the same process
    QByteArray name(build.fileName);
    char *argv[] = {name.data(), nullptr};
    return app::run(1, argv, build);
}

} // namespace

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void startsCountingAndEndsWithX_data();
    void startsCountingAndEndsWithX();
    void endsWhenItsLastWindowGoes_data();
    void endsWhenItsLastWindowGoes();
    void closingTheEventDayWindowKeepsItRunning();
    void errorReportHoldsEveryHandlerUntilTheEnd();
    void readsTheLocalClock();
};

void TestProgram::startsCountingAndEndsWithX_data()
{
    QTest::addColumn<const runtime::BuildSettings *>("build");
    QTest::newRow("Countdown") << &deliverables::Countdown;
    QTest::newRow("Tallybell-3") << &deliverables::Tallybell_3;
}

void TestProgram::startsCountingAndEndsWithX()
{
    QFETCH(const runtime::BuildSettings *, build);
    FakeClock clock(at("2012-03-20T10:20:30"));
    const int status = runProgram(
        *build,
        {{"the main window is shown", [] { return mainWindow() && mainWindow()->isVisible(); },
          [build] {
              Script::check(QCoreApplication::applicationName() == build->fileName,
                            "the application is named after the build");
              Script::check(mainWindow()->windowTitle()
                                == u"Time until Lantern Moss Fair II (April 13, 2012)",
                            "the window has its caption alone");
              const QList<QSize> sizes = mainWindow()->windowIcon().availableSizes();
              Script::check(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)),
                            "the window has the program's icon");
              Script::check(mainWindow()->text(Field::Final) == u"Label2",
                            "no round has run before the window is shown");
          }},
         // Both timers tick in one round: once the clock has been read, the
         // sentence is already there, not one round later.
         {"the first round", [] { return holdsNumber(Field::MonNum); },
          [] {
              Script::check(mainWindow()->text(Field::Final)
                                == u"It is 24 days 14 Hours 40 Minutes  and 30 Seconds ",
                            "the sentence is right after the first round");
          }},
         {"a few rounds later", Script::after(350), [] { click("Command3"); }},
         {"the About box", [] { return messageBox() != nullptr; },
          [] { click(messageBox()->button(QMessageBox::Ok)); }},
         {"the About box closed", Script::after(250),
          [] { Script::check(mainWindow()->isVisible(), "the program runs on"); }},
         {"X", always, [] { click("Command4"); }}});
    QVERIFY2(Script::failure.isEmpty(), qPrintable(Script::failure));
    QVERIFY(Script::finished);
    QCOMPARE(status, 0);
}

void TestProgram::endsWhenItsLastWindowGoes_data()
{
    QTest::addColumn<bool>("hide");
    QTest::newRow("hidden") << true;
    QTest::newRow("closed") << false;
}

void TestProgram::endsWhenItsLastWindowGoes()
{
    QFETCH(bool, hide);
    FakeClock clock(at("2012-03-20T10:20:30"));
    const int status = runProgram(deliverables::Countdown,
                                  {{"the first round", [] { return holdsNumber(Field::MonNum); },
                                    [hide] {
                                        if (hide)
                                            mainWindow()->hide();
                                        else
                                            mainWindow()->close();
                                    }}});
    QVERIFY2(Script::failure.isEmpty(), qPrintable(Script::failure));
    QCOMPARE(status, 0);
}

void TestProgram::closingTheEventDayWindowKeepsItRunning()
{
    FakeClock clock(at("2012-04-13T10:00:00"));
    const int status
        = runProgram(deliverables::Tallybell_3,
                     {{"the event-day window opens", [] { return eventDayWindow() != nullptr; },
                       [] { eventDayWindow()->close(); }},
                      {"a few rounds later", Script::after(350),
                       [] {
                           Script::check(mainWindow() && mainWindow()->isVisible(),
                                         "the main window runs on without the event-day window");
                           Script::check(!eventDayWindow(), "no second event-day window opens");
                       }},
                      {"X", always, [] { click("Command4"); }}});
    QVERIFY2(Script::failure.isEmpty(), qPrintable(Script::failure));
    QVERIFY(Script::finished);
    QCOMPARE(status, 0);
}

void TestProgram::errorReportHoldsEveryHandlerUntilTheEnd()
{
    // The first reading of the clock fails; every later one would work.
    int reads = 0;
    const runtime::Clock previous = runtime::setClock([&reads] {
        if (++reads == 1)
            throw runtime::Error(runtime::ErrorNumber::TypeMismatch);
        return at("2012-03-20T10:20:30");
    });
    const int status = runProgram(
        deliverables::Countdown,
        {{"the error report", [] { return messageBox() != nullptr; },
          [] {
              Script::check(messageBox()->windowTitle() == u"Countdown",
                            "titled with the program's name");
              Script::check(messageBox()->text() == u"Run-time error '13': Type mismatch",
                            "the report");
              Script::check(messageBox()->icon() == QMessageBox::Critical, "a critical icon");
              Script::check(messageBox()->windowModality() == Qt::ApplicationModal,
                            "modal to the whole program");
              Script::check(messageBox()->textFormat() == Qt::PlainText, "shown as plain text");
              click("Command1"); // a handler that reads the clock
          }},
         {"rounds under the box", Script::after(350), [&reads] {
              Script::check(reads == 1, "no handler runs while the error is reported");
              Script::check(mainWindow()->text(Field::MonNum) == u"MonNum", "no field changes");
              click(messageBox()->button(QMessageBox::Ok));
          }}});
    runtime::setClock(previous);
    QVERIFY2(Script::failure.isEmpty(), qPrintable(Script::failure));
    QCOMPARE(status, 1);
    QCOMPARE(reads, 1);
}

void TestProgram::readsTheLocalClock()
{
    // A zone three quarters of an hour off any whole-hour zone: a reading in
    // UTC, or in any other zone, shows another minute.
    qputenv("TZ", "Asia/Kathmandu");
    tzset();
    const auto localTime = [] {
        const std::time_t now = std::time(nullptr);
        std::tm parts{};
        localtime_r(&now, &parts);
        return QStringLiteral("%1:%2").arg(parts.tm_hour).arg(parts.tm_min);
    };
    QString before;
    QString shown;
    QString afterwards;
    const int status = runProgram(deliverables::Countdown,
                                  {{"the window is shown", [] { return mainWindow() != nullptr; },
                                    [&] { before = localTime(); }},
                                   {"the first round", [] { return holdsNumber(Field::CurMin); },
                                    [&] {
                                        afterwards = localTime();
                                        shown = mainWindow()->text(Field::CurHour) + u':'
                                            + mainWindow()->text(Field::CurMin);
                                        click("Command4");
                                    }}});
    QVERIFY2(Script::failure.isEmpty(), qPrintable(Script::failure));
    QCOMPARE(status, 0);
    QVERIFY2(shown == before || shown == afterwards,
             qPrintable(QStringLiteral("shown %1, local time %2").arg(shown, before)));
}

QTEST_APPLESS_MAIN(TestProgram)
#include "test_program.moc"
