// Years of running, simulated with a fake clock on the real tick path: every
// round must leave the fields as the rules give them, report no error, open
// the event-day window exactly once per run and keep memory flat.
//
// TALLYBELL_LONG_RUN=reduced (set by make test-sanitize, where a round costs
// several times more) runs shorter ranges that still cross the leap day and
// the event day.

#include "countdown_rules.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <memory>
#include <unistd.h>

using namespace forms;

#if defined(__SANITIZE_ADDRESS__)
#define LONG_RUN_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LONG_RUN_UNDER_ASAN 1
#endif
#endif

namespace {

bool reduced()
{
    return qEnvironmentVariable("TALLYBELL_LONG_RUN") == u"reduced";
}

// Resident memory of this process in KiB.
qint64 residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> parts = statm.readAll().split(' ');
    if (parts.size() < 2)
        return -1;
    return parts[1].toLongLong() * sysconf(_SC_PAGESIZE) / 1024;
}

// Memory may grow while caches fill; after that, by no more than this.
constexpr qint64 ResidentGrowthKiB = 1024;

// Watches the program's objects and resident memory for growth.
class MemoryWatch
{
public:
    // Takes the figures to hold from now on.
    void settle(const Main &main)
    {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_children = main.findChildren<QObject *>().size();
        m_topLevel = QApplication::topLevelWidgets().size();
        m_resident = residentKiB();
        m_peakGrowth = 0;
    }

    // Growth since settle(), as a message; empty when there is none.
    QString growth(const Main &main)
    {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const qsizetype children = main.findChildren<QObject *>().size();
        if (children != m_children)
            return QStringLiteral("the main window has %1 objects, %2 before")
                .arg(children)
                .arg(m_children);
        // The main window, and at most the event-day window besides it.
        const qsizetype topLevel = QApplication::topLevelWidgets().size();
        if (topLevel > m_topLevel + 1)
            return QStringLiteral("%1 top-level widgets, %2 before").arg(topLevel).arg(m_topLevel);
        m_peakGrowth = std::max(m_peakGrowth, residentKiB() - m_resident);
#ifndef LONG_RUN_UNDER_ASAN
        // AddressSanitizer keeps freed memory in quarantine: there only
        // leaks are looked for, by LeakSanitizer at the end.
        if (m_peakGrowth > ResidentGrowthKiB)
            return QStringLiteral("resident memory grew by %1 KiB").arg(m_peakGrowth);
#endif
        return {};
    }

    qint64 peakGrowth() const
    {
        return m_peakGrowth;
    }

private:
    qsizetype m_children = 0;
    qsizetype m_topLevel = 0;
    qint64 m_resident = 0;
    qint64 m_peakGrowth = 0;
};

} // namespace

class TestLongRun : public CountdownSuite
{
    Q_OBJECT

private slots:
    void everyMinuteOfTenYears();
    void everySecondAroundTheEvent_data();
    void everySecondAroundTheEvent();
};

// A fresh main window runs from each April 14 to the end of the next April 13.
// After the event-day window opens, the rest of that day checks that clock
// sampling goes on while the countdown stays frozen; the next run starts at
// midnight.
void TestLongRun::everyMinuteOfTenYears()
{
    ProgramObserver program;
    const QDateTime start = reduced() ? at("2015-04-14T00:00:00") : at("2013-04-14T00:00:00");
    const QDateTime end = start.addYears(reduced() ? 2 : 10);
    FakeClock clock(start);
    MemoryWatch memory;
    // The first runs, with their event days, warm up: the figures to hold
    // are those at the start of the next run. (Each run's new pair of
    // windows leaves the process some 16 KiB bigger, with nothing lost that
    // LeakSanitizer finds; the program makes them once. The rounds add
    // nothing, as the second-by-second runs in one window show.)
    const int warmUpRuns = reduced() ? 1 : 2;
    int runs = 0;
    qint64 rounds = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    for (QDateTime now = start; now < end;) {
        auto run = std::make_unique<Run>(app::deliverables::Countdown);
        ++runs;
        const QDateTime runEnd = QDateTime(QDate(now.date().year() + 1, 4, 14), QTime(0, 0));
        for (; now < runEnd; now = now.addSecs(60), ++rounds) {
            if (const QString wrong = roundDiffers(clock, *run, now); !wrong.isEmpty())
                QFAIL(qPrintable(wrong));
            if (now.time().minute() == 0) {
                // Let the window repaint once an hour, and look at memory
                // once a day (while the event-day window, which holds its
                // own memory, is not shown).
                QCoreApplication::processEvents();
                if (now.time().hour() == 0 && runs > warmUpRuns && shownEventDayWindows() == 0) {
                    if (const QString grown = memory.growth(run->main); !grown.isEmpty())
                        QFAIL(qPrintable(failure(now, grown)));
                }
            }
        }
        QCOMPARE(run->rules.eventDays(), 1);
        QCOMPARE(shownEventDayWindows(), 1);
        QVERIFY(!run->main.isTimer2Enabled());
        closeEventDayWindows();
        run.reset();
        if (runs == warmUpRuns) {
            Run probe(app::deliverables::Countdown);
            QCoreApplication::processEvents();
            memory.settle(probe.main);
        }
    }
    QCOMPARE(runs, reduced() ? 2 : 10);
    QVERIFY(program.reports.isEmpty());
    QVERIFY(program.endStatuses.isEmpty());
    qInfo("%d runs, %lld rounds in %lld ms; resident memory grew by at most %lld KiB", runs, rounds,
          elapsed.elapsed(), memory.peakGrowth());
}

void TestLongRun::everySecondAroundTheEvent_data()
{
    QTest::addColumn<int>("year");
    QTest::newRow("leap year") << 2012;
    QTest::newRow("common year") << 2013;
}

// One run from the first second of February 28 to the last of April 14.
// Reduced, only the days around the leap day and the event day go second by
// second; the weeks between go minute by minute.
void TestLongRun::everySecondAroundTheEvent()
{
    QFETCH(int, year);
    ProgramObserver program;
    const QDateTime start(QDate(year, 2, 28), QTime(0, 0));
    const QDateTime end(QDate(year, 4, 15), QTime(0, 0));
    const QDateTime coarseFrom(QDate(year, 3, 2), QTime(0, 0));
    const QDateTime coarseUntil(QDate(year, 4, 12), QTime(0, 0));
    FakeClock clock(start);
    Run run(app::deliverables::Tallybell_3);
    MemoryWatch memory;
    qint64 rounds = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    for (QDateTime now = start; now < end; ++rounds) {
        if (const QString wrong = roundDiffers(clock, run, now); !wrong.isEmpty())
            QFAIL(qPrintable(wrong));
        if (now.time().second() == 0) {
            // Let the window repaint once a minute, and look at memory once a
            // day after the first, up to the event day.
            QCoreApplication::processEvents();
            if (now.time() == QTime(0, 0) && shownEventDayWindows() == 0) {
                if (now == start.addDays(1))
                    memory.settle(run.main);
                else if (now > start.addDays(1)) {
                    if (const QString grown = memory.growth(run.main); !grown.isEmpty())
                        QFAIL(qPrintable(failure(now, grown)));
                }
            }
        }
        const bool coarse = reduced() && now >= coarseFrom && now < coarseUntil;
        now = now.addSecs(coarse ? 60 : 1);
    }
    if (!reduced())
        QCOMPARE(rounds, start.secsTo(end));
    QCOMPARE(run.rules.eventDays(), 1);
    QCOMPARE(shownEventDayWindows(), 1);
    QVERIFY(program.reports.isEmpty());
    QVERIFY(program.endStatuses.isEmpty());
    qInfo("%lld rounds in %lld ms; resident memory grew by at most %lld KiB", rounds,
          elapsed.elapsed(), memory.peakGrowth());
}

QTEST_MAIN(TestLongRun)
#include "test_long_run.moc"
