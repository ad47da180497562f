// The main window as its layout table makes it: the window, its controls in
// the order they were created, where they are and how they look.

#include "app/deliverables.h"
#include "forms/main_form.h"
#include "main_window_checks.h"
#include "runtime/controls.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace forms;

namespace {

const QStringList CreationOrder = {
    "Command4", "Command3", "Timer2",  "Command2", "Command1", "Timer1",    "Line5",
    "Line4",    "Line3",    "Shape1",  "Label2",   "Final",    "Label1",    "EndDays",
    "Label20",  "Label19",  "Label18", "Label17",  "Label16",  "Label15",   "Line2",
    "Line1",    "Label14",  "Label13", "Label12",  "EndMon1",  "EndSecond", "EndMinute",
    "EndHour",  "EndDay",   "EndMon",  "Label10",  "MonNum",   "Label8",    "Label7",
    "Label6",   "Label5",   "CurSec",  "CurMin",   "CurHour",  "CurDay",
};

} // namespace

class TestMainLayout : public MainWindowSuite
{
    Q_OBJECT

private slots:
    void hasItsControlsInCreationOrder();
    void window();
    void buttons_data();
    void buttons();
    void labels_data();
    void labels();
    void visibleLabelsLookAsDesigned();
    void linesAndShape_data();
    void linesAndShape();
};

void TestMainLayout::hasItsControlsInCreationOrder()
{
    QStringList names;
    for (const QObject *control : m_main->controls())
        names << control->objectName();
    QCOMPARE(names, CreationOrder);
    for (const QString &name : CreationOrder)
        QCOMPARE(m_main->findChildren<QObject *>(name).size(), 1);
}

void TestMainLayout::window()
{
    QCOMPARE(m_main->windowTitle(),
             QStringLiteral("Time until Lantern Moss Fair II (April 13, 2012)"));
    QCOMPARE(m_main->size(), QSize(282, 146));
    QCOMPARE(m_main->minimumSize(), m_main->maximumSize()); // not resizable
    QVERIFY(m_main->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(m_main->windowType(), Qt::Tool); // no taskbar button
    QVERIFY(m_main->autoFillBackground());
    QCOMPARE(m_main->palette().color(QPalette::Window), QColor(0, 0, 0));
}

void TestMainLayout::buttons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("flat");
    QTest::addColumn<bool>("visible");
    QTest::newRow("X") << "Command4"
                       << "X" << QRect(263, 2, 17, 17) << true << false << true;
    QTest::newRow("About") << "Command3"
                           << "About" << QRect(220, 2, 43, 17) << false << true << true;
    QTest::newRow("Command2") << "Command2"
                              << "Press this button to manualy calculate the time until LMF."
                              << QRect(264, 280, 105, 49) << false << false << false;
    QTest::newRow("Command1") << "Command1"
                              << "Press this button to manualy calculate the current time."
                              << QRect(336, 224, 105, 49) << false << false << false;
}

void TestMainLayout::buttons()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    QFETCH(bool, bold);
    QFETCH(bool, flat);
    QFETCH(bool, visible);
    const auto *button = m_main->findChild<QPushButton *>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->geometry(), geometry);
    QCOMPARE(button->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(button->font().pointSizeF(), 8.25);
    QCOMPARE(button->font().bold(), bold);
    QCOMPARE(button->isFlat(), flat);
    QCOMPARE(button->focusPolicy(), Qt::StrongFocus);
    QVERIFY(!button->isDefault());
    QCOMPARE(VisibleArea.intersects(geometry), visible);
}

void TestMainLayout::labels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("Label2") << "Label2"
                            << " Time until Lantern Moss Fair" << QRect(30, 30, 4215, 255);
    QTest::newRow("Final") << "Final"
                           << "Label2" << QRect(120, 360, 3975, 1215);
    QTest::newRow("Label12") << "Label12"
                             << "Until Lantern Moss Fair !!!" << QRect(120, 1560, 4095, 495);
    QTest::newRow("Label1")
        << "Label1"
        << R"(This is the same as "EndDays, but without "Days" at the end of it.)"
        << QRect(4800, 480, 1815, 615);
    QTest::newRow("EndDays") << "EndDays"
                             << "EndDays" << QRect(2400, 3120, 975, 255);
    QTest::newRow("Label20")
        << "Label20"
        << "THESE BUTTONS HAVE BEEN REPLACED BY THE TIMERS BUT THEY STILL FUNCTION."
        << QRect(4800, 2400, 2175, 855);
    QTest::newRow("Label19") << "Label19"
                             << "Timer 2 calculate the time to LMM" << QRect(1800, 4200, 1575, 495);
    QTest::newRow("Label18") << "Label18"
                             << "Timer 1 calculates the current time."
                             << QRect(120, 4200, 1335, 495);
    QTest::newRow("Label17") << "Label17"
                             << "Current Time:" << QRect(7200, 360, 1575, 255);
    QTest::newRow("Label16")
        << "Label16"
        << "The automation timers are here, but you cant see them when the program runs."
        << QRect(120, 3600, 3375, 495);
    QTest::newRow("Label15")
        << "Label15"
        << "Everything this side of those lines are for programing purposes only and are "
           "basically leftovers from programing. Don't delete anything though, most of it "
           "does stuff."
        << QRect(120, 2280, 4455, 615);
    QTest::newRow("Label14")
        << "Label14"
        << "Number of months until LMM (it's next month, so it should be 1 or 0)"
        << QRect(6120, 4560, 1695, 615);
    QTest::newRow("Label13") << "Label13"
                             << "Number of days after after this month is done."
                             << QRect(7200, 3480, 1815, 495);
    QTest::newRow("EndMon1") << "EndMon1"
                             << "EndMon1" << QRect(7920, 4800, 855, 255);
    QTest::newRow("EndSecond") << "EndSecond"
                               << "EndSecond" << QRect(3480, 3120, 975, 255);
    QTest::newRow("EndMinute") << "EndMinute"
                               << "EndMinute" << QRect(1320, 3120, 975, 255);
    QTest::newRow("EndHour") << "EndHour"
                             << "EndHour" << QRect(240, 3120, 855, 255);
    QTest::newRow("EndDay") << "EndDay"
                            << "EndDay" << QRect(7800, 4080, 855, 255);
    QTest::newRow("EndMon") << "EndMon"
                            << "EndMon" << QRect(5280, 1200, 615, 375);
    QTest::newRow("Label10") << "Label10"
                             << "Month" << QRect(8040, 720, 735, 255);
    QTest::newRow("MonNum") << "MonNum"
                            << "MonNum" << QRect(7200, 720, 735, 255);
    QTest::newRow("Label8") << "Label8"
                            << "Second" << QRect(8040, 2160, 735, 255);
    QTest::newRow("Label7") << "Label7"
                            << "Minute" << QRect(8040, 1800, 735, 255);
    QTest::newRow("Label6") << "Label6"
                            << "Hour" << QRect(8040, 1440, 735, 255);
    QTest::newRow("Label5") << "Label5"
                            << "Day" << QRect(8040, 1080, 735, 255);
    QTest::newRow("CurSec") << "CurSec"
                            << "CurSec" << QRect(7200, 2160, 735, 255);
    QTest::newRow("CurMin") << "CurMin"
                            << "CurMin" << QRect(7200, 1800, 735, 255);
    QTest::newRow("CurHour") << "CurHour"
                             << "CurHour" << QRect(7200, 1440, 735, 255);
    QTest::newRow("CurDay") << "CurDay"
                            << "CurDay" << QRect(7200, 1080, 735, 255);
}

void TestMainLayout::labels()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    const auto *label = m_main->findChild<QLabel *>(name);
    QVERIFY(label);
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY(label->wordWrap());
    QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
    QVERIFY(!label->font().italic() && !label->font().underline() && !label->font().strikeOut());
    const QRect pixels(runtime::pixels(twips.x()), runtime::pixels(twips.y()),
                       runtime::pixels(twips.x() + twips.width()) - runtime::pixels(twips.x()),
                       runtime::pixels(twips.y() + twips.height()) - runtime::pixels(twips.y()));
    QCOMPARE(label->geometry(), pixels);
    const bool hidden = twips.x() >= 4230 || twips.y() >= 2190;
    if (hidden) {
        // Default look: opaque, button face and button text, the default font.
        const QPalette desktop = QApplication::palette();
        QVERIFY(label->autoFillBackground());
        QCOMPARE(label->palette().color(QPalette::Window), desktop.color(QPalette::Button));
        QCOMPARE(label->palette().color(QPalette::WindowText), desktop.color(QPalette::ButtonText));
        QCOMPARE(label->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(label->font().pointSizeF(), 8.25);
        QVERIFY(!label->font().bold());
        QVERIFY(!VisibleArea.intersects(label->geometry()));
    }
}

void TestMainLayout::visibleLabelsLookAsDesigned()
{
    const auto *title = m_main->findChild<QLabel *>("Label2");
    QVERIFY(title->autoFillBackground());
    QCOMPARE(title->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(title->font().pointSizeF(), 8.25);
    QVERIFY(title->font().bold());

    for (const char *name : {"Final", "Label12"}) {
        const auto *label = m_main->findChild<QLabel *>(name);
        QVERIFY2(!label->autoFillBackground(), name);
        QCOMPARE(label->palette().color(label->foregroundRole()), QColor(128, 128, 255));
        QCOMPARE(label->font().family(), QStringLiteral("LCARS"));
        QCOMPARE(label->font().pointSizeF(), 26.25);
        QCOMPARE(label->font().weight(), QFont::Normal);
    }
}

void TestMainLayout::linesAndShape_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("width");
    const QPalette desktop = QApplication::palette();
    const QColor white(255, 255, 255);
    QTest::newRow("Line3 under the title")
        << "Line3" << QPoint(0, 20) << QPoint(280, 20) << desktop.color(QPalette::Button) << 2;
    QTest::newRow("Line1 right") << "Line1" << QPoint(280, 0) << QPoint(280, 136)
                                 << desktop.color(QPalette::Base) << 1;
    QTest::newRow("Line2 bottom") << "Line2" << QPoint(280, 144) << QPoint(-8, 144) << white << 1;
    QTest::newRow("Line4 hidden") << "Line4" << QPoint(16, 376) << QPoint(616, 368) << white << 1;
    QTest::newRow("Line5 hidden") << "Line5" << QPoint(616, 376) << QPoint(632, 16) << white << 1;
}

void TestMainLayout::linesAndShape()
{
    QFETCH(QString, name);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QColor, colour);
    QFETCH(int, width);
    const auto *line = m_main->findChild<runtime::Line *>(name);
    QVERIFY(line);
    QCOMPARE(line->from(), from);
    QCOMPARE(line->to(), to);
    QCOMPARE(line->colour(), colour);
    QCOMPARE(line->lineWidth(), width);
    QVERIFY(line->testAttribute(Qt::WA_TransparentForMouseEvents));

    const auto *shape = m_main->findChild<runtime::Shape *>("Shape1");
    QCOMPARE(shape->geometry(), QRect(1, 1, 281, 145)); // 20, 10, 4215 x 2175 twips
    QCOMPARE(shape->lineWidth(), 2);
}

QTEST_MAIN(TestMainLayout)
#include "test_main_layout.moc"
