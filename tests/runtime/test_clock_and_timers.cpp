// The clock the program reads and the round in which its timers tick.

#include "runtime/clock.h"
#include "runtime/timers.h"
#include "support/helpers.h"

#include <QTest>
#include <QThread>
#include <QTimer>

#include <cmath>

using namespace runtime;

class TestClockAndTimers : public QObject
{
    Q_OBJECT

private slots:
    void fakeClockReplacesTheSystemClock();

    void timersTickInTheGivenOrder();
    void overdueRoundStillTicksInOrder();
    void disabledTimerIsSkipped();
    void switchingATimerDoesNotPutTheRoundOff();
};

void TestClockAndTimers::fakeClockReplacesTheSystemClock()
{
    {
        FakeClock clock(at("2012-03-20T10:20:30"));
        QCOMPARE(presentDate(), at("2012-03-20T10:20:30"));
        clock.advance(30);
        QCOMPARE(presentDate(), at("2012-03-20T10:21:00"));
    }
    QVERIFY(std::abs(presentDate().secsTo(QDateTime::currentDateTime())) <= 1);
}

void TestClockAndTimers::timersTickInTheGivenOrder()
{
    QObject form;
    // Created in one order, ticking in the other.
    auto *second = new Timer(20, true, &form);
    auto *first = new Timer(20, true, &form);
    QStringList ticks;
    connect(first, &Timer::timer, [&] { ticks << "first"; });
    connect(second, &Timer::timer, [&] { ticks << "second"; });
    new TimerRound({first, second}, &form);
    QTRY_VERIFY(ticks.size() >= 6);
    for (qsizetype i = 0; i + 1 < ticks.size(); i += 2)
        QCOMPARE(ticks.mid(i, 2), (QStringList{"first", "second"}));
}

void TestClockAndTimers::overdueRoundStillTicksInOrder()
{
    QObject form;
    auto *first = new Timer(10, true, &form);
    auto *second = new Timer(10, true, &form);
    QStringList ticks;
    connect(first, &Timer::timer, [&] { ticks << "first"; });
    connect(second, &Timer::timer, [&] {
        ticks << "second";
        QThread::msleep(35); // a busy event loop: the next round is overdue
    });
    new TimerRound({first, second}, &form);
    QTRY_VERIFY(ticks.size() >= 6);
    for (qsizetype i = 0; i + 1 < ticks.size(); i += 2)
        QCOMPARE(ticks.mid(i, 2), (QStringList{"first", "second"}));
}

void TestClockAndTimers::disabledTimerIsSkipped()
{
    QObject form;
    auto *first = new Timer(10, true, &form);
    auto *second = new Timer(10, true, &form);
    int firstTicks = 0;
    int secondTicks = 0;
    connect(first, &Timer::timer, [&] { ++firstTicks; });
    connect(second, &Timer::timer, [&] {
        ++secondTicks;
        second->setEnabled(false);
    });
    new TimerRound({first, second}, &form);
    QTRY_VERIFY(firstTicks >= 5);
    QCOMPARE(secondTicks, 1);
    QVERIFY(!second->isEnabled());
}

void TestClockAndTimers::switchingATimerDoesNotPutTheRoundOff()
{
    // A timer switched on or off just before the round is due must not put
    // the round off: switched more often than that, the round still comes.
    QObject form;
    auto *ticking = new Timer(60, true, &form);
    auto *switched = new Timer(60, false, &form);
    int ticks = 0;
    connect(ticking, &Timer::timer, [&] { ++ticks; });
    new TimerRound({ticking, switched}, &form);
    QTimer switcher;
    switcher.callOnTimeout([switched] { switched->setEnabled(!switched->isEnabled()); });
    switcher.start(20);
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 1000);
}

QTEST_MAIN(TestClockAndTimers)
#include "test_clock_and_timers.moc"
