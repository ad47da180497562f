#include "countdown_rules.h"
#include "forms/countdown.h"
#include "forms/lmf2d.h"
#include "runtime/timers.h"

#include <QTest>

using namespace forms;

namespace {

// One round of the main window's timers, as the timer round delivers it.
void tick(Main &main)
{
    RoundDriver(main).round();
}

} // namespace

class TestCountdown : public CountdownSuite
{
    Q_OBJECT

private slots:
    void clockSampling_data();
    void clockSampling();
    void clockSamplingReadsTheClockOnce();

    void automaticForm_data();
    void automaticForm();
    void manualFormWritesBareFigures();
    void manualFormBeforeClockSamplingChangesNothing();
    void daysToGoKeepWhatAnEarlierRunLeft();
    void eventDayOpensTheWindowOnceAndStopsCounting();
};

void TestCountdown::clockSampling_data()
{
    QTest::addColumn<QString>("now");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("a March morning")
        << "2012-03-20T10:20:30" << QStringList{"3", "20", "10", "20", "30"};
    QTest::newRow("midnight") << "2012-04-01T00:05:09" << QStringList{"4", "1", "0", "5", "9"};
    QTest::newRow("top of a minute")
        << "2012-12-31T23:59:00" << QStringList{"12", "31", "23", "59", "0"};
}

void TestCountdown::clockSampling()
{
    QFETCH(QString, now);
    QFETCH(QStringList, fields);
    FakeClock clock(at(now.toLatin1().constData()));
    Main main(app::deliverables::Countdown.mainLook);
    CalculateCurrentTime(main);
    const QStringList written
        = {main.text(Field::MonNum), main.text(Field::CurDay), main.text(Field::CurHour),
           main.text(Field::CurMin), main.text(Field::CurSec)};
    QCOMPARE(written, fields);
}

void TestCountdown::clockSamplingReadsTheClockOnce()
{
    // A clock that moves on by one second whenever it is read: five reads
    // would mix 10:59:59 with 11:00:00 and more.
    auto next = std::make_shared<QDateTime>(at("2012-03-31T23:59:59"));
    int reads = 0;
    const SeamDouble clock(runtime::setClock, [next, &reads] {
        ++reads;
        QDateTime now = *next;
        *next = next->addSecs(1);
        return now;
    });
    Main main(app::deliverables::Countdown.mainLook);
    CalculateCurrentTime(main);
    QCOMPARE(reads, 1);
    const QStringList written
        = {main.text(Field::MonNum), main.text(Field::CurDay), main.text(Field::CurHour),
           main.text(Field::CurMin), main.text(Field::CurSec)};
    QCOMPARE(written, (QStringList{"3", "31", "23", "59", "59"}));
}

void TestCountdown::automaticForm_data()
{
    QTest::addColumn<QString>("now");
    QTest::addColumn<QStringList>(
        "fields"); // EndMon1 EndDay EndHour EndMinute EndSecond EndMon EndDays
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<bool>("eventDay");

    QTest::newRow("2012-03-20 10:20:30")
        << "2012-03-20T10:20:30"
        << QStringList{"1", "-7", "14 Hours ", "40 Minutes ", "30 Seconds ", "24", "24 days "}
        << "It is 24 days 14 Hours 40 Minutes  and 30 Seconds " << false;
    QTest::newRow("units count to 24 and 60")
        << "2012-03-01T00:00:00"
        << QStringList{"1", "12", "24 Hours ", "60 Minutes ", "60 Seconds ", "43", "43 days "}
        << "It is 43 days 24 Hours 60 Minutes  and 60 Seconds " << false;
    QTest::newRow("last second before the day")
        << "2012-04-12T23:59:59"
        << QStringList{"0", "1", "1 Hours ", "1 Minutes ", "1 Seconds ", "1", "1 days "}
        << "It is 1 days 1 Hours 1 Minutes  and 1 Seconds " << false;
    QTest::newRow("event day") << "2012-04-13T15:00:00"
                               << QStringList{"0",           "0", "9 Hours ", "60 Minutes ",
                                              "60 Seconds ", "0", "0 days "}
                               << "It is 0 days 9 Hours 60 Minutes  and 60 Seconds " << true;
    QTest::newRow("a week after") << "2012-04-20T08:00:00"
                                  << QStringList{"0",           "-7", "16 Hours ", "60 Minutes ",
                                                 "60 Seconds ", "-7", "-7 days "}
                                  << "It is -7 days 16 Hours 60 Minutes  and 60 Seconds " << false;
    QTest::newRow("the year is not read")
        << "2013-04-13T00:00:01"
        << QStringList{"0", "0", "24 Hours ", "60 Minutes ", "59 Seconds ", "0", "0 days "}
        << "It is 0 days 24 Hours 60 Minutes  and 59 Seconds " << true;
    // Outside March and April the days to go are never written: the run
    // carries on with the field as it stands instead of failing.
    QTest::newRow("May, days never written")
        << "2012-05-02T12:30:15"
        << QStringList{"-1",          "11",     "12 Hours ",   "30 Minutes ",
                       "45 Seconds ", "EndMon", "EndMon days "}
        << "It is EndMon days 12 Hours 30 Minutes  and 45 Seconds " << false;
    QTest::newRow("December, days never written")
        << "2026-12-07T10:15:00"
        << QStringList{"-8",          "6",      "14 Hours ",   "45 Minutes ",
                       "60 Seconds ", "EndMon", "EndMon days "}
        << "It is EndMon days 14 Hours 45 Minutes  and 60 Seconds " << false;
    QTest::newRow("February 13th is no event day")
        << "2012-02-13T01:02:03"
        << QStringList{"2",           "0",      "23 Hours ",   "58 Minutes ",
                       "57 Seconds ", "EndMon", "EndMon days "}
        << "It is EndMon days 23 Hours 58 Minutes  and 57 Seconds " << false;
}

void TestCountdown::automaticForm()
{
    QFETCH(QString, now);
    QFETCH(QStringList, fields);
    QFETCH(QString, sentence);
    QFETCH(bool, eventDay);
    ProgramObserver program;
    FakeClock clock(at(now.toLatin1().constData()));
    Main main(app::deliverables::Countdown.mainLook);
    tick(main);

    const QStringList written
        = {main.text(Field::EndMon1),   main.text(Field::EndDay),    main.text(Field::EndHour),
           main.text(Field::EndMinute), main.text(Field::EndSecond), main.text(Field::EndMon),
           main.text(Field::EndDays)};
    QCOMPARE(written, fields);
    QCOMPARE(main.text(Field::Final), sentence);
    QCOMPARE(shownEventDayWindows(), eventDay ? 1 : 0);
    QCOMPARE(main.isTimer2Enabled(), !eventDay);
    QVERIFY(program.reports.isEmpty());
    QVERIFY(program.endStatuses.isEmpty());

    // Counting goes on (or stays stopped) at the next reading of the clock.
    clock.advance(-1);
    tick(main);
    QCOMPARE(shownEventDayWindows(), eventDay ? 1 : 0);
    QCOMPARE(main.text(Field::Final) == sentence, eventDay);
}

void TestCountdown::manualFormWritesBareFigures()
{
    ProgramObserver program;
    FakeClock clock(at("2012-03-20T10:20:30"));
    Main main(app::deliverables::Countdown.mainLook);
    tick(main);
    clock.advance(1);
    CalculateCurrentTime(main);
    CalculateTimeUntil(main, false);
    QCOMPARE(main.text(Field::EndMon1), QStringLiteral("1"));
    QCOMPARE(main.text(Field::EndDay), QStringLiteral("-7"));
    QCOMPARE(main.text(Field::EndHour), QStringLiteral("14"));
    QCOMPARE(main.text(Field::EndMinute), QStringLiteral("40"));
    QCOMPARE(main.text(Field::EndSecond), QStringLiteral("29"));
    QCOMPARE(main.text(Field::EndMon), QStringLiteral("24"));
    // The days text and the sentence are the automatic run's.
    QCOMPARE(main.text(Field::EndDays), QStringLiteral("24 days "));
    QCOMPARE(main.text(Field::Final),
             QStringLiteral("It is 24 days 14 Hours 40 Minutes  and 30 Seconds "));
    QVERIFY(program.reports.isEmpty());
}

void TestCountdown::manualFormBeforeClockSamplingChangesNothing()
{
    ProgramObserver program;
    Main main(app::deliverables::Countdown.mainLook);
    CalculateTimeUntil(main, false);
    CalculateTimeUntil(main, true);
    for (const Field field : {Field::EndMon1, Field::EndDay, Field::EndHour, Field::EndMinute,
                              Field::EndSecond, Field::EndMon, Field::EndDays}) {
        QCOMPARE(main.text(field), QString::fromLatin1(fieldName(field)));
    }
    QCOMPARE(main.text(Field::Final), QStringLiteral("Label2"));
    // One field holding a number is not enough either.
    main.setText(Field::MonNum, QStringLiteral("3"));
    CalculateTimeUntil(main, false);
    QCOMPARE(main.text(Field::EndMon1), QStringLiteral("EndMon1"));
    QVERIFY(program.reports.isEmpty());
    QVERIFY(program.endStatuses.isEmpty());
}

void TestCountdown::daysToGoKeepWhatAnEarlierRunLeft()
{
    ProgramObserver program;
    FakeClock clock(at("2012-04-30T23:59:59"));
    Main main(app::deliverables::Countdown.mainLook);
    tick(main);
    QCOMPARE(main.text(Field::EndMon), QStringLiteral("-17"));
    clock.advance(1); // into May
    tick(main);
    QCOMPARE(main.text(Field::EndMon1), QStringLiteral("-1"));
    QCOMPARE(main.text(Field::EndMon), QStringLiteral("-17"));
    QCOMPARE(main.text(Field::Final),
             QStringLiteral("It is -17 days 24 Hours 60 Minutes  and 60 Seconds "));
    QVERIFY(program.reports.isEmpty());
}

void TestCountdown::eventDayOpensTheWindowOnceAndStopsCounting()
{
    ProgramObserver program;
    FakeClock clock(at("2012-04-12T23:59:59"));
    Main main(app::deliverables::Countdown.mainLook);
    tick(main);
    QVERIFY(shownEventDayWindows() == 0);
    clock.advance(1);
    tick(main);
    QCOMPARE(shownEventDayWindows(), 1);
    QVERIFY(!main.isTimer2Enabled());
    QCOMPARE(main.text(Field::EndDays), QStringLiteral("0 days "));
    const QString last = main.text(Field::Final);

    // Clock sampling goes on; the countdown and its window do not come back.
    clock.advance(3600);
    for (int i = 0; i < 10; ++i)
        tick(main);
    QCOMPARE(main.text(Field::CurHour), QStringLiteral("1"));
    QCOMPARE(main.text(Field::Final), last);
    QCOMPARE(shownEventDayWindows(), 1);

    // The manual form on the event day opens nothing and leaves Timer2 alone.
    CalculateTimeUntil(main, false);
    QCOMPARE(main.text(Field::EndHour), QStringLiteral("23"));
    QCOMPARE(shownEventDayWindows(), 1);
    QVERIFY(!main.isTimer2Enabled());
    main.setTimer2Enabled(true);
    CalculateTimeUntil(main, false);
    QVERIFY(main.isTimer2Enabled());
    QCOMPARE(shownEventDayWindows(), 1);
}

QTEST_MAIN(TestCountdown)
#include "test_countdown.moc"
