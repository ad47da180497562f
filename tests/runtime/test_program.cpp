// The program's lifetime: an error that no handler traps is reported and
// ends the program, and no handler runs after that.

#include "runtime/conversions.h"
#include "runtime/program.h"
#include "support/helpers.h"

#include <QTest>

#include <limits>
#include <new>

using namespace runtime;

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void untrappedErrorIsReportedAndEndsTheProgram_data();
    void untrappedErrorIsReportedAndEndsTheProgram();
    void otherExceptionsAreReportedToo();
    void noHandlerRunsOnceTheProgramEnds();
};

void TestProgram::untrappedErrorIsReportedAndEndsTheProgram_data()
{
    QTest::addColumn<int>("raised");
    QTest::addColumn<QString>("report");
    QTest::newRow("type mismatch") << 0 << "Run-time error '13': Type mismatch";
    QTest::newRow("overflow") << 1 << "Run-time error '6': Overflow";
    QTest::newRow("other exception") << 2 << "Run-time error '51': disk full";
    QTest::newRow("anything else") << 3 << "Run-time error '51': Internal error";
}

void TestProgram::untrappedErrorIsReportedAndEndsTheProgram()
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

void TestProgram::otherExceptionsAreReportedToo()
{
    ProgramObserver program;
    runHandler([] { throw std::bad_alloc(); });
    QCOMPARE(program.reports.size(), 1);
    QVERIFY(program.reports.first().startsWith(QStringLiteral("Run-time error '51'")));
    QCOMPARE(program.endStatuses, QList<int>{1});
}

void TestProgram::noHandlerRunsOnceTheProgramEnds()
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

QTEST_MAIN(TestProgram)
#include "test_program.moc"
