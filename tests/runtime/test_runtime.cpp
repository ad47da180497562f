#include "helpers.h"
#include "runtime/conversions.h"
#include "runtime/form.h"
#include "runtime/message_box.h"
#include "runtime/platform/drawn_frame.h"
#include "runtime/timers.h"

#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QWidget>

#include <clocale>
#include <cmath>

using namespace runtime;
using namespace platform;

class TestRuntime : public QObject
{
    Q_OBJECT

private slots:
    void textToNumber_data();
    void textToNumber();
    void textThatIsNoNumber_data();
    void textThatIsNoNumber();
    void numberToText_data();
    void numberToText();
    void conversionsIgnoreTheLocale();

    void untrappedErrorIsReportedAndEndsTheProgram();
    void otherExceptionsAreReportedToo();
    void noHandlerRunsOnceTheProgramEnds();

    void fakeClockReplacesTheSystemClock();

    void timersTickInTheGivenOrder();
    void overdueRoundStillTicksInOrder();
    void disabledTimerIsSkipped();
    void switchingATimerDoesNotPutTheRoundOff();

    void messageBoxStyles_data();
    void messageBoxStyles();

    void twipsToPixels_data();
    void twipsToPixels();

    void pointerFollowerMovesTheWindowUntilRelease();
    void drawnFrameHoldsTheClientMovesAndCloses();
};

void TestRuntime::textToNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("whole") << "24" << 24.0;
    QTest::newRow("negative") << "-7" << -7.0;
    QTest::newRow("plus sign") << "+3" << 3.0;
    QTest::newRow("leading zeros") << "007" << 7.0;
    QTest::newRow("blanks around") << "  43  " << 43.0;
    QTest::newRow("tab") << "\t5" << 5.0;
    QTest::newRow("fraction") << "1.5" << 1.5;
    QTest::newRow("fraction only") << ".25" << 0.25;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("negative exponent") << "-25E-1" << -2.5;
    QTest::newRow("beyond 2^53") << "18446744073709551617" << 18446744073709551617.0;
    QTest::newRow("largest double") << "1.7976931348623157e308" << 1.7976931348623157e308;
    QTest::newRow("smallest double") << "4.9406564584124654e-324" << 4.9406564584124654e-324;
    // Too small for a double is still a number: the nearest double, zero.
    QTest::newRow("below the smallest double") << "1e-400" << 0.0;
    QTest::newRow("long way below") << "-0.000000001e-99999999999999999999" << -0.0;
    QTest::newRow("many digits, far below") << "123456789e-340" << 0.0;
}

void TestRuntime::textToNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(toNumber(text), expected);
    QCOMPARE(std::signbit(toNumber(text)), std::signbit(expected)); // -0 too
    QCOMPARE(tryNumber(text), std::optional<double>(expected));
}

void TestRuntime::textThatIsNoNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("blank") << "   ";
    QTest::newRow("field name") << "EndMon";
    QTest::newRow("number and word") << "14 Hours ";
    QTest::newRow("days text") << "0 days ";
    QTest::newRow("comma") << "1,5";
    QTest::newRow("hex") << "0x10";
    QTest::newRow("basic hex") << "&H10";
    QTest::newRow("sign only") << "-";
    QTest::newRow("point only") << ".";
    QTest::newRow("two signs") << "--1";
    QTest::newRow("inner blank") << "1 2";
    QTest::newRow("open exponent") << "1e";
    QTest::newRow("infinity") << "inf";
    QTest::newRow("nan") << "nan";
    QTest::newRow("too large") << "1e999";
    QTest::newRow("just too large") << "1.7976931348623159e308";
    QTest::newRow("many digits, small exponent") << QString(400, u'9') + "e-5";
    QTest::newRow("fullwidth digit") << QString(QChar(0xFF11));
    QTest::newRow("arabic-indic digit") << QString(QChar(0x0663));
    QTest::newRow("no-break space") << QString(QChar(0x00A0)) + "1";
    QTest::newRow("nul inside") << QString("1") + QChar(0) + "2";
}

void TestRuntime::textThatIsNoNumber()
{
    QFETCH(QString, text);
    QVERIFY(!tryNumber(text));
    try {
        toNumber(text);
        QFAIL("no error raised");
    } catch (const Error &error) {
        QCOMPARE(error.number(), 13);
        QCOMPARE(error.report(), QStringLiteral("Run-time error '13': Type mismatch"));
    }
}

void TestRuntime::numberToText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("whole") << 24.0 << "24";
    QTest::newRow("negative") << -7.0 << "-7";
    QTest::newRow("large") << 123456789012.0 << "123456789012";
    QTest::newRow("fraction") << 1.5 << "1.5";
    QTest::newRow("negative fraction") << -0.25 << "-0.25";
    QTest::newRow("fifteen digits") << 1e15 << "1e+15";
    QTest::newRow("largest double") << -1.7976931348623157e308 << "-1.7976931348623157e+308";
}

void TestRuntime::numberToText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(toText(value), expected);
    QCOMPARE(toNumber(toText(value)), value == 0 ? 0.0 : value);
}

void TestRuntime::conversionsIgnoreTheLocale()
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const char *hadLocale = std::setlocale(LC_ALL, "de_DE.UTF-8");
    const auto restore = qScopeGuard([&] {
        QLocale::setDefault(previous);
        std::setlocale(LC_ALL, "C");
    });
    Q_UNUSED(hadLocale);
    QCOMPARE(toNumber(u"1.5"), 1.5);
    QVERIFY(!tryNumber(u"1,5"));
    QVERIFY(!tryNumber(u"1.000,5"));
    QCOMPARE(toText(1.5), QStringLiteral("1.5"));
    QCOMPARE(toText(-1234567.0), QStringLiteral("-1234567"));
}

void TestRuntime::untrappedErrorIsReportedAndEndsTheProgram()
{
    ProgramObserver program;
    bool abandoned = true;
    runHandler([&] {
        toNumber(u"EndMon");
        abandoned = false;
    });
    QVERIFY(abandoned);
    QCOMPARE(program.reports, QStringList{QStringLiteral("Run-time error '13': Type mismatch")});
    QCOMPARE(program.endStatuses, QList<int>{1});
    QVERIFY(isEnding());
}

void TestRuntime::otherExceptionsAreReportedToo()
{
    ProgramObserver program;
    runHandler([] { throw std::bad_alloc(); });
    QCOMPARE(program.reports.size(), 1);
    QVERIFY(program.reports.first().startsWith(QStringLiteral("Run-time error '51'")));
    QCOMPARE(program.endStatuses, QList<int>{1});
}

void TestRuntime::noHandlerRunsOnceTheProgramEnds()
{
    ProgramObserver program;
    runHandler([] { endProgram(0); });
    bool ran = false;
    runHandler([&] { ran = true; });
    QVERIFY(!ran);
    endProgram(3); // ending twice changes nothing
    QCOMPARE(program.endStatuses, QList<int>{0});
    QVERIFY(program.reports.isEmpty());
}

void TestRuntime::fakeClockReplacesTheSystemClock()
{
    {
        FakeClock clock(at("2012-03-20T10:20:30"));
        QCOMPARE(presentDate(), at("2012-03-20T10:20:30"));
        clock.advance(30);
        QCOMPARE(presentDate(), at("2012-03-20T10:21:00"));
    }
    QVERIFY(std::abs(presentDate().secsTo(QDateTime::currentDateTime())) <= 1);
}

void TestRuntime::timersTickInTheGivenOrder()
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
    for (qsizetype i = 0; i + 1 < ticks.size(); i += 2) {
        QCOMPARE(ticks[i], QStringLiteral("first"));
        QCOMPARE(ticks[i + 1], QStringLiteral("second"));
    }
}

void TestRuntime::overdueRoundStillTicksInOrder()
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

void TestRuntime::disabledTimerIsSkipped()
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

void TestRuntime::switchingATimerDoesNotPutTheRoundOff()
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

void TestRuntime::messageBoxStyles_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("icon");
    QTest::newRow("information") << 64 << int(QMessageBox::Information);
    QTest::newRow("exclamation") << 48 << int(QMessageBox::Warning);
    QTest::newRow("critical") << 16 << int(QMessageBox::Critical);
    QTest::newRow("question") << 32 << int(QMessageBox::Question);
}

void TestRuntime::messageBoxStyles()
{
    QFETCH(int, style);
    QFETCH(int, icon);
    BoxDismisser boxes;
    msgBox(QStringLiteral("A <b>prompt</b>, exactly."), style, QStringLiteral("Title"));
    QCOMPARE(boxes.seen.size(), 1);
    const SeenBox &box = boxes.seen.first();
    QCOMPARE(box.title, QStringLiteral("Title"));
    QCOMPARE(box.text, QStringLiteral("A <b>prompt</b>, exactly."));
    QVERIFY(box.plainText);
    QCOMPARE(int(box.icon), icon);
    QCOMPARE(box.buttons.size(), 1);
    QVERIFY(box.modal);
}

void TestRuntime::twipsToPixels_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("expected");
    QTest::newRow("client width") << 4230 << 282;
    QTest::newRow("client height") << 2190 << 146;
    QTest::newRow("one pixel") << 15 << 1;
    QTest::newRow("negative") << -120 << -8;
    QTest::newRow("rounds") << 10 << 1;
}

void TestRuntime::twipsToPixels()
{
    QFETCH(int, twips);
    QFETCH(int, expected);
    QCOMPARE(pixels(twips), expected);
}

void TestRuntime::pointerFollowerMovesTheWindowUntilRelease()
{
    QWidget window;
    window.setGeometry(50, 60, 100, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCursor::setPos(70, 70);
    QTest::qWait(10);
    const QPoint start = window.pos();
    const QPoint grip = QCursor::pos() - start;

    followPointer(&window);
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 10), QPointF(170, 95), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
    QCOMPARE(window.pos(), QPoint(170, 95) - grip);

    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(20, 10), QPointF(170, 95),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &release);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QMouseEvent later(QEvent::MouseMove, QPointF(20, 10), QPointF(300, 300), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &later);
    QCOMPARE(window.pos(), QPoint(170, 95) - grip);
}

void TestRuntime::drawnFrameHoldsTheClientMovesAndCloses()
{
    // At literal positions, in the desktop's colours: what the user sees.
    const QPalette desktop = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
    const QPalette palette = distinctPalette();
    QApplication::setPalette(palette);
    QWidget window;
    window.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    QPalette own; // the form's own background, which the frame does not take
    own.setColor(QPalette::Window, Qt::black);
    window.setPalette(own);
    const QWidget *client = addDrawnFrame(&window, QSize(200, 100));
    QCOMPARE(window.size(), QSize(206, 133));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(client->geometry(), QRect(3, 30, 200, 100));

    QList<QWidget *> moved;
    const SystemMove previous = setSystemMove([&moved](QWidget *w) { moved.append(w); });
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    window.show();
    QApplication::setActiveWindow(&window);
    QTRY_VERIFY(window.isActiveWindow());
    const auto colours = [&window](const QList<QPoint> &points) {
        const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QList<QColor> found;
        for (const QPoint &point : points)
            found << image.pixelColor(point);
        return found;
    };
    // The title strip and its last row, the borders; the client's edges; the
    // middle of the close box's cross.
    const QList<QPoint> frame = {{100, 1}, {100, 29}, {2, 60}, {203, 60}, {100, 130}};
    const QList<QPoint> inside = {{100, 30}, {3, 60}, {202, 60}, {100, 129}};
    QCOMPARE(colours(frame),
             QList<QColor>(frame.size(), palette.color(QPalette::Active, QPalette::Window)));
    QCOMPARE(colours(inside), QList<QColor>(inside.size(), Qt::black));
    QCOMPARE(colours({{189, 15}}),
             QList<QColor>{palette.color(QPalette::Active, QPalette::WindowText)});
    QApplication::setActiveWindow(&other);
    QTRY_VERIFY(!window.isActiveWindow());
    QCOMPARE(colours({{189, 15}}),
             QList<QColor>{palette.color(QPalette::Disabled, QPalette::WindowText)});

    auto *drawn = window.findChild<DrawnFrame *>();
    QTest::mousePress(drawn, Qt::LeftButton, {}, QPoint(100, 15)); // the title: a move
    QTest::mouseRelease(drawn, Qt::LeftButton, {}, QPoint(189, 15));
    QCOMPARE(moved, QList<QWidget *>{&window});
    QTest::mousePress(drawn, Qt::LeftButton, {}, QPoint(189, 15)); // the box, let go off it
    QTest::mouseRelease(drawn, Qt::LeftButton, {}, QPoint(100, 15));
    QVERIFY(window.isVisible());
    QTest::mouseClick(drawn, Qt::LeftButton, {}, QPoint(189, 15));
    QVERIFY(!window.isVisible());
    QCOMPARE(moved.size(), 1);
    setSystemMove(previous);
}

QTEST_MAIN(TestRuntime)
#include "test_runtime.moc"
