// Text to number and back, as the old runtime converted them whatever the
// locale, and the layout tables' twips to pixels.

#include "runtime/controls.h"
#include "runtime/conversions.h"
#include "runtime/errors.h"

#include <QLocale>
#include <QScopeGuard>
#include <QTest>

#include <clocale>
#include <cmath>

using namespace runtime;

class TestConversions : public QObject
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

    void twipsToPixels_data();
    void twipsToPixels();
};

void TestConversions::textToNumber_data()
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

void TestConversions::textToNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(toNumber(text), expected);
    QCOMPARE(std::signbit(toNumber(text)), std::signbit(expected)); // -0 too
    QCOMPARE(tryNumber(text), std::optional<double>(expected));
}

void TestConversions::textThatIsNoNumber_data()
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

void TestConversions::textThatIsNoNumber()
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

void TestConversions::numberToText_data()
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

void TestConversions::numberToText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(toText(value), expected);
    QCOMPARE(toNumber(toText(value)), value == 0 ? 0.0 : value);
}

void TestConversions::conversionsIgnoreTheLocale()
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

void TestConversions::twipsToPixels_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("expected");
    QTest::newRow("client width") << 4230 << 282;
    QTest::newRow("client height") << 2190 << 146;
    QTest::newRow("one pixel") << 15 << 1;
    QTest::newRow("negative") << -120 << -8;
    QTest::newRow("rounds") << 10 << 1;
}

void TestConversions::twipsToPixels()
{
    QFETCH(int, twips);
    QFETCH(int, expected);
    QCOMPARE(pixels(twips), expected);
}

QTEST_MAIN(TestConversions)
#include "test_conversions.moc"
