// The clock changing under a running program: daylight saving, a day
// forward, to before and after April 13. Each round must show the clock of
// that round, and the event-day window opens at most once.

#include "countdown_rules.h"

#include <QTest>
#include <QTimeZone>

using namespace forms;

namespace {

// A wall-clock reading; UTC only so that no local daylight-saving rule can
// shift the times the table gives.
QDateTime wall(const QString &text)
{
    return QDateTime::fromString(text + u'Z', Qt::ISODate);
}

// Runs one round at `now` and compares the window with the rules.
void roundAt(FakeClock &clock, Run &run, const QDateTime &now)
{
    const QString wrong = roundDiffers(clock, run, now);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    QVERIFY(run.rules.eventDays() <= 1);
}

} // namespace

class TestClockChanges : public CountdownSuite
{
    Q_OBJECT

private slots:
    void jumps_data();
    void jumps();
    void daylightSavingInARealZone_data();
    void daylightSavingInARealZone();
};

void TestClockChanges::jumps_data()
{
    QTest::addColumn<QStringList>("readings"); // one round at each
    QTest::addColumn<int>("windows");
    QTest::addColumn<QString>("sentence"); // at the end

    QTest::newRow("back an hour, daylight saving ends")
        << QStringList{"2012-04-01T02:59:58", "2012-04-01T02:59:59", "2012-04-01T02:00:00",
                       "2012-04-01T02:00:01"}
        << 0 << "It is 12 days 22 Hours 60 Minutes  and 59 Seconds ";
    QTest::newRow("forward an hour, daylight saving starts")
        << QStringList{"2012-03-25T01:59:59", "2012-03-25T03:00:00"} << 0
        << "It is 19 days 21 Hours 60 Minutes  and 60 Seconds ";
    QTest::newRow("back an hour over midnight into the day before the event")
        << QStringList{"2012-04-12T23:59:59", "2012-04-12T23:00:00", "2012-04-12T23:00:01"} << 0
        << "It is 1 days 1 Hours 60 Minutes  and 59 Seconds ";
    QTest::newRow("forward a day")
        << QStringList{"2012-03-20T10:00:00", "2012-03-21T10:00:01", "2012-03-21T10:00:02"} << 0
        << "It is 23 days 14 Hours 60 Minutes  and 58 Seconds ";
    QTest::newRow("forward a day over the month's end")
        << QStringList{"2012-03-31T12:00:00", "2012-04-01T12:00:00"} << 0
        << "It is 12 days 12 Hours 60 Minutes  and 60 Seconds ";
    QTest::newRow("forward a day onto the event day")
        << QStringList{"2012-04-12T08:00:00", "2012-04-13T08:00:00", "2012-04-13T08:00:01"} << 1
        << "It is 0 days 16 Hours 60 Minutes  and 60 Seconds ";
    QTest::newRow("from March onto the event day")
        << QStringList{"2012-03-20T10:00:00", "2012-04-13T09:30:15"} << 1
        << "It is 0 days 15 Hours 30 Minutes  and 45 Seconds ";
    QTest::newRow("over the event day, which never came")
        << QStringList{"2012-04-12T23:59:59", "2012-04-14T00:00:00", "2012-04-14T00:00:01"} << 0
        << "It is -1 days 24 Hours 60 Minutes  and 59 Seconds ";
    QTest::newRow("after the event day back to before it, then into it")
        << QStringList{"2012-04-20T08:00:00", "2012-04-12T23:59:59", "2012-04-13T00:00:00"} << 1
        << "It is 0 days 24 Hours 60 Minutes  and 60 Seconds ";
    QTest::newRow("back before the event day once the window opened")
        << QStringList{"2012-04-13T00:00:00", "2012-04-12T12:00:00", "2012-04-13T00:00:00",
                       "2013-04-13T00:00:00"}
        << 1 << "It is 0 days 24 Hours 60 Minutes  and 60 Seconds ";
    QTest::newRow("over the event day, then a year on onto the next one")
        << QStringList{"2012-04-12T23:59:59", "2012-04-14T00:00:01", "2013-04-13T12:00:00"} << 1
        << "It is 0 days 12 Hours 60 Minutes  and 60 Seconds ";
    QTest::newRow("from May back into April")
        << QStringList{"2012-05-02T12:00:00", "2012-04-30T12:00:00", "2012-05-02T12:00:00"} << 0
        << "It is -17 days 12 Hours 60 Minutes  and 60 Seconds ";
    QTest::newRow("from June back to February")
        << QStringList{"2012-06-01T00:00:00", "2012-02-29T06:07:08"} << 0
        << "It is EndMon days 18 Hours 53 Minutes  and 52 Seconds ";
}

void TestClockChanges::jumps()
{
    QFETCH(QStringList, readings);
    QFETCH(int, windows);
    QFETCH(QString, sentence);
    ProgramObserver program;
    FakeClock clock(wall(readings.first()));
    Run run(app::deliverables::Countdown);
    for (const QString &reading : std::as_const(readings)) {
        roundAt(clock, run, wall(reading));
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(shownEventDayWindows(), windows);
    QCOMPARE(run.main.text(Field::Final), sentence);
    QVERIFY(program.reports.isEmpty());
    QVERIFY(program.endStatuses.isEmpty());
}

void TestClockChanges::daylightSavingInARealZone_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("change"); // the instant of the change, UTC
    QTest::addColumn<int>("shift");      // how far the wall clock jumps, seconds

    // Daylight saving ends: 3:00 becomes 2:00, twelve days before the event.
    QTest::newRow("Sydney, back an hour")
        << QByteArray("Australia/Sydney") << "2012-03-31T16:00:00Z" << -3600;
    // Daylight saving starts: 2:00 becomes 3:00.
    QTest::newRow("Berlin, forward an hour")
        << QByteArray("Europe/Berlin") << "2012-03-25T01:00:00Z" << 3600;
}

// The clock of the zone itself, second by second across its change.
void TestClockChanges::daylightSavingInARealZone()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, change);
    QFETCH(int, shift);
    if (!QTimeZone::isTimeZoneIdAvailable(zone))
        QSKIP("the time zone database lacks this zone");
    const QTimeZone timeZone(zone);
    const QDateTime instant = QDateTime::fromString(change, Qt::ISODate);
    ProgramObserver program;
    FakeClock clock(instant.toTimeZone(timeZone));
    Run run(app::deliverables::Countdown);
    bool jumped = false;
    for (int second = -30; second < 30; ++second) {
        const QDateTime now = instant.addSecs(second).toTimeZone(timeZone);
        const QString before = run.main.text(Field::Final);
        roundAt(clock, run, now);
        if (QTest::currentTestFailed())
            return;
        if (second == 0) {
            // The wall clock jumped, and the sentence with it.
            const QDateTime previous = instant.addSecs(-1).toTimeZone(timeZone);
            QCOMPARE(previous.time().secsTo(now.time()), shift + 1);
            QVERIFY(run.main.text(Field::Final) != before);
            jumped = true;
        }
    }
    QVERIFY(jumped);
    QCOMPARE(shownEventDayWindows(), 0);
    QVERIFY(program.reports.isEmpty());
}

QTEST_MAIN(TestClockChanges)
#include "test_clock_changes.moc"
