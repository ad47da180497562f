// An error that no handler traps: its report, the end of the program, no
// handler after it; and the message boxes such reports and the program's
// own messages are shown in.

#include "support/helpers.h"
#include "runtime/conversions.h"
#include "runtime/message_box.h"
#include "runtime/program.h"

#include <QTest>

#include <limits>
#include <new>

using namespace runtime;

class TestErrors : public QObject
{
    Q_OBJECT

private slots:
    void untrappedErrorIsReportedAndEndsTheProgram_data();
    void untrappedErrorIsReportedAndEndsTheProgram();
    void otherExceptionsAreReportedToo();
    void noHandlerRunsOnceTheProgramEnds();

    void messageBoxStyles_data();
    void messageBoxStyles();
};

void TestErrors::untrappedErrorIsReportedAndEndsTheProgram_data()
{
    QTest::addColumn<int>("raised");
    QTest::addColumn<QString>("report");
    QTest::newRow("type mismatch") << 0 << "Run-time error '13': Type mismatch";
    QTest::newRow("overflow") << 1 << "Run-time error '6': Overflow";
    QTest::newRow("other exception") << 2 << "Run-time error '51': disk full";
    QTest::newRow("anything else") << 3 << "Run-time error '51': Internal error";
}

void TestErrors::untrappedErrorIsReportedAndEndsTheProgram()
{
    QFETCH(int, raised);
    QFETCH(QString, report);
    ProgramObserver program;
    bool abandoned = true;
    runHandler([&] {
        if (raised == 0)
            toNumber(u"EndMon");
        else if (raised == 1)
            checked(std::numeric_limits<double>::infinity());
        else if (raised == 2)
            throw std::runtime_error("disk full");
        else
            throw raised;
        abandoned = false;
    });
    QVERIFY(abandoned);
    QCOMPARE(program.reports, QStringList{report});
    QCOMPARE(program.endStatuses, QList<int>{1});
    QVERIFY(isEnding());
}

void TestErrors::otherExceptionsAreReportedToo()
{
    ProgramObserver program;
    runHandler([] { throw std::bad_alloc(); });
    QCOMPARE(program.reports.size(), 1);
    QVERIFY(program.reports.first().startsWith(QStringLiteral("Run-time error '51'")));
    QCOMPARE(program.endStatuses, QList<int>{1});
}

void TestErrors::noHandlerRunsOnceTheProgramEnds()
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

void TestErrors::messageBoxStyles_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("icon");
    QTest::newRow("information") << 64 << int(QMessageBox::Information);
    QTest::newRow("exclamation") << 48 << int(QMessageBox::Warning);
    QTest::newRow("critical") << 16 << int(QMessageBox::Critical);
    QTest::newRow("question") << 32 << int(QMessageBox::Question);
}

void TestErrors::messageBoxStyles()
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

QTEST_MAIN(TestErrors)
#include "test_program.moc"
