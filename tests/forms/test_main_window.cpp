#include "app/deliverables.h"
#include "forms/lmf2d.h"
#include "forms/main_form.h"
#include "helpers.h"
#include "runtime/form.h"
#include "runtime/timers.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

using runtime::Timer;

namespace {

const QStringList CreationOrder = {
    "Command4", "Command3", "Timer2",  "Command2", "Command1", "Timer1",    "Line5",
    "Line4",    "Line3",    "Shape1",  "Label2",   "Final",    "Label1",    "EndDays",
    "Label20",  "Label19",  "Label18", "Label17",  "Label16",  "Label15",   "Line2",
    "Line1",    "Label14",  "Label13", "Label12",  "EndMon1",  "EndSecond", "EndMinute",
    "EndHour",  "EndDay",   "EndMon",  "Label10",  "MonNum",   "Label8",    "Label7",
    "Label6",   "Label5",   "CurSec",  "CurMin",   "CurHour",  "CurDay",
};

const QRect VisibleArea(0, 0, 282, 146);

int countPixels(const QImage &image, const QRect &area, QColor colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) == colour)
                ++count;
        }
    }
    return count;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void hasItsControlsInCreationOrder();
    void window();
    void buttons_data();
    void buttons();
    void labels_data();
    void labels();
    void visibleLabelsLookAsDesigned();
    void linesAndShape_data();
    void linesAndShape();
    void timersTickEveryTenthOfASecond();
    void fieldsHoldTheirNamesAtCreation();
    void fieldsAreReadAndWrittenByName();
    void focusStartsOnTheHiddenButtonAndCyclesTheButtons();
    void screenReaderFindsWhatTheScreenShows();
    void onlyTheVisibleAreaIsDrawn();
    void labelsDrawFromTheirTopLeftCorner_data();
    void labelsDrawFromTheirTopLeftCorner();
    void buildsDiffer_data();
    void buildsDiffer();
    void systemColoursFollowTheDesktop();
    void frameAndLinesFillTheirPixels();

private:
    std::unique_ptr<Main> m_main;
};

void TestMainWindow::init()
{
    m_main = std::make_unique<Main>(deliverables::Countdown.mainLook);
}

void TestMainWindow::cleanup()
{
    m_main.reset();
}

void TestMainWindow::hasItsControlsInCreationOrder()
{
    QStringList names;
    for (const QObject *control : m_main->controls())
        names << control->objectName();
    QCOMPARE(names, CreationOrder);
    for (const QString &name : CreationOrder)
        QCOMPARE(m_main->findChildren<QObject *>(name).size(), 1);
}

void TestMainWindow::window()
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

void TestMainWindow::buttons_data()
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

void TestMainWindow::buttons()
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

void TestMainWindow::labels_data()
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
        << "This is the same as \"EndDays, but without \"Days\" at the end of it."
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

void TestMainWindow::labels()
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

void TestMainWindow::visibleLabelsLookAsDesigned()
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

void TestMainWindow::linesAndShape_data()
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

void TestMainWindow::linesAndShape()
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

void TestMainWindow::timersTickEveryTenthOfASecond()
{
    for (const char *name : {"Timer1", "Timer2"}) {
        const auto *timer = m_main->findChild<Timer *>(name);
        QVERIFY2(timer, name);
        QCOMPARE(timer->interval(), 100);
        QVERIFY(timer->isEnabled());
    }
    QVERIFY(m_main->isTimer2Enabled());
    m_main->setTimer2Enabled(false);
    QVERIFY(!m_main->findChild<Timer *>("Timer2")->isEnabled());
    QVERIFY(m_main->findChild<Timer *>("Timer1")->isEnabled());
}

void TestMainWindow::fieldsHoldTheirNamesAtCreation()
{
    const std::array fields = {Field::MonNum,    Field::CurDay,    Field::CurHour, Field::CurMin,
                               Field::CurSec,    Field::EndMon1,   Field::EndDay,  Field::EndHour,
                               Field::EndMinute, Field::EndSecond, Field::EndMon,  Field::EndDays};
    for (const Field field : fields)
        QCOMPARE(m_main->text(field), QString::fromLatin1(fieldName(field)));
    QCOMPARE(m_main->text(Field::Final), QStringLiteral("Label2"));
}

void TestMainWindow::fieldsAreReadAndWrittenByName()
{
    m_main->setText(Field::EndMon, QStringLiteral("24"));
    QCOMPARE(m_main->findChild<QLabel *>("EndMon")->text(), QStringLiteral("24"));
    m_main->findChild<QLabel *>("CurSec")->setText(QStringLiteral("30"));
    QCOMPARE(m_main->text(Field::CurSec), QStringLiteral("30"));
}

void TestMainWindow::focusStartsOnTheHiddenButtonAndCyclesTheButtons()
{
    m_main->show();
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));
    // The focus mark: dots in the text colour down the left side, inside the
    // edge of the flat "About", clear of its caption.
    auto *about = m_main->findChild<QWidget *>("Command3");
    const auto markDots = [&] {
        const QImage image = m_main->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return countPixels(image, QRect(about->x() + 3, about->y() + 3, 1, 11),
                           about->palette().color(QPalette::ButtonText));
    };
    about->setFocus(Qt::MouseFocusReason); // a click leaves no mark
    QCOMPARE(markDots(), 0);
    m_main->findChild<QWidget *>("Command1")->setFocus();
    const QStringList cycle = {"Command2", "Command3", "Command4", "Command1", "Command2"};
    for (const QString &next : cycle) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), next);
        QCOMPARE(markDots() > 3, next == QLatin1String("Command3"));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));
}

void TestMainWindow::screenReaderFindsWhatTheScreenShows()
{
    const QString sentence = QStringLiteral("It is 24 days 14 Hours 40 Minutes  and 30 Seconds ");
    m_main->setText(Field::Final, sentence);
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(m_main.get());
    QCOMPARE(window->role(), QAccessible::Window); // a frame, not a filler
    QCOMPARE(window->text(QAccessible::Name), m_main->windowTitle());
    QCOMPARE(window->text(QAccessible::Description), sentence + " Until Lantern Moss Fair !!!");
    // The labels and buttons, each named, none of the lines and the shape;
    // what lies beyond the client area is off-screen.
    QCOMPARE(window->childCount(), 33);
    QStringList showingButtons;
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface *control = window->child(i);
        const QString name = control->text(QAccessible::Name);
        QVERIFY(!name.isEmpty());
        QCOMPARE(window->indexOfChild(control), i);
        QCOMPARE(control->parent(), window);
        const QRect geometry = static_cast<QWidget *>(control->object())->geometry();
        QCOMPARE(control->state().offscreen, !VisibleArea.intersects(geometry));
        if (control->role() == QAccessible::PushButton && !control->state().offscreen)
            showingButtons << name;
    }
    QCOMPARE(showingButtons, (QStringList{"Close", "About"}));
    const auto *close
        = QAccessible::queryAccessibleInterface(m_main->findChild<QWidget *>("Command4"));
    QVERIFY(close->text(QAccessible::Description).contains("ends the program"));
    // The sentence is text to be read; the hidden buttons still press.
    QAccessibleTextInterface *text
        = QAccessible::queryAccessibleInterface(m_main->findChild<QLabel *>("Final"))
              ->textInterface();
    QVERIFY(text);
    QCOMPARE(text->text(0, text->characterCount()), sentence);
    QAccessible::queryAccessibleInterface(m_main->findChild<QWidget *>("Command1"))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(m_main->text(Field::MonNum) != QLatin1String("MonNum"));
}

void TestMainWindow::onlyTheVisibleAreaIsDrawn()
{
    m_main->setText(Field::Final,
                    QStringLiteral("It is 24 days 14 Hours 40 Minutes  and 30 Seconds "));
    const QImage image = m_main->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.size() / image.devicePixelRatio(), QSize(282, 146));
    const QPalette desktop = QApplication::palette();
    // The title strip runs to the right edge, behind the buttons.
    QCOMPARE(image.pixelColor(205, 10), desktop.color(QPalette::Highlight));
    QCOMPARE(image.pixelColor(281, 10), desktop.color(QPalette::Highlight));
    // The bottom dividing line shows from x = 0.
    QCOMPARE(image.pixelColor(0, 144), QColor(Qt::white));
    // The sentence is drawn in light blue on black.
    QVERIFY(countPixels(image, QRect(8, 24, 265, 60), QColor(128, 128, 255)) > 100);
    QCOMPARE(image.pixelColor(200, 130), QColor(Qt::black));
}

void TestMainWindow::labelsDrawFromTheirTopLeftCorner_data()
{
    QTest::addColumn<bool>("tallybell");
    QTest::newRow("Countdown") << false;
    QTest::newRow("Tallybell-3") << true;
}

void TestMainWindow::labelsDrawFromTheirTopLeftCorner()
{
    QFETCH(bool, tallybell);
    Main main((tallybell ? deliverables::Tallybell_3 : deliverables::Countdown).mainLook);
    const auto *label = main.findChild<QLabel *>("Label12");
    const QImage image = main.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect box = label->geometry().intersected(VisibleArea);
    // The first line of "Until Lantern Moss Fair !!!" starts at the top of the
    // box, and whatever does not fit is cut off at the bottom.
    const QRect topHalf(box.left(), box.top(), box.width(), box.height() / 2);
    QVERIFY(countPixels(image, topHalf, QColor(128, 128, 255)) > 50);
}

void TestMainWindow::buildsDiffer_data()
{
    QTest::addColumn<bool>("tallybell");
    QTest::addColumn<QString>("face");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("label12Top");
    QTest::newRow("Countdown") << false << "LCARS" << 26.25 << 104;
    QTest::newRow("Tallybell-3") << true << "Arial" << 18.0 << 112;
}

void TestMainWindow::buildsDiffer()
{
    QFETCH(bool, tallybell);
    QFETCH(QString, face);
    QFETCH(double, points);
    QFETCH(int, label12Top);
    Main main((tallybell ? deliverables::Tallybell_3 : deliverables::Countdown).mainLook);
    for (const char *name : {"Final", "Label12"}) {
        const QFont font = main.findChild<QLabel *>(name)->font();
        QCOMPARE(font.family(), face);
        QCOMPARE(font.pointSizeF(), points);
    }
    QCOMPARE(main.findChild<QLabel *>("Label12")->y(), label12Top);
    // Everything else is the same in both builds.
    Main other((tallybell ? deliverables::Countdown : deliverables::Tallybell_3).mainLook);
    for (const QObject *control : main.controls()) {
        const QString name = control->objectName();
        if (name == QLatin1String("Label12") || !control->isWidgetType())
            continue;
        const auto *mine = static_cast<const QWidget *>(control);
        const auto *theirs = other.findChild<QWidget *>(name);
        QCOMPARE(mine->geometry(), theirs->geometry());
        if (name != QLatin1String("Final"))
            QCOMPARE(mine->font(), theirs->font());
    }
    QCOMPARE(QString::fromLatin1(deliverables::Countdown.fileName), QStringLiteral("Countdown"));
    QCOMPARE(QString::fromLatin1(deliverables::Tallybell_3.fileName),
             QStringLiteral("Tallybell-3"));
    QCOMPARE(QString::fromLatin1(deliverables::Countdown.versionText), QStringLiteral("1.01"));
    QCOMPARE(QString::fromLatin1(deliverables::Tallybell_3.versionText),
             QStringLiteral("1.01.0002"));
}

void TestMainWindow::systemColoursFollowTheDesktop()
{
    const QPalette desktop = QApplication::palette();
    const QString style = QApplication::style()->name();
    const auto restore = qScopeGuard([&] {
        QApplication::setPalette(desktop);
        QApplication::setStyle(style);
    });
    // The Windows style fills a button's face with the button colour itself.
    QVERIFY(QApplication::setStyle(QStringLiteral("Windows")));
    LMF2D eventDay;
    QWidget other; // shown last, it leaves the others inactive
    for (QWidget *window : std::initializer_list<QWidget *>{m_main.get(), &eventDay, &other})
        window->show();
    QTRY_VERIFY(other.isActiveWindow());
    const QPalette palette = distinctPalette();
    QApplication::setPalette(palette);
    const auto active
        = [&](QPalette::ColorRole role) { return palette.color(QPalette::Active, role); };
    const QImage image = m_main->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.pixelColor(205, 10), active(QPalette::Highlight)); // title strip
    QVERIFY(countPixels(image, QRect(2, 2, 200, 17), active(QPalette::HighlightedText)) > 20);
    QCOMPARE(image.pixelColor(1, 100), active(QPalette::Button));  // frame
    QCOMPARE(image.pixelColor(100, 20), active(QPalette::Button)); // rule under the strip
    QCOMPARE(image.pixelColor(280, 100), active(QPalette::Base));  // right line
    const QRect close = m_main->findChild<QWidget *>("Command4")->geometry();
    QVERIFY(countPixels(image, close, active(QPalette::Button))
            > close.width() * close.height() / 3);
    QVERIFY(countPixels(image, close, active(QPalette::ButtonText)) > 5);
    const QImage footnote = eventDay.findChild<QWidget *>("Label2")->grab().toImage();
    QVERIFY(countPixels(footnote, footnote.rect(), active(QPalette::Button)) > 20);
}

// Also run at other scale factors, as ctest entries of their own.
void TestMainWindow::frameAndLinesFillTheirPixels()
{
    const QImage image = m_main->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal scale = image.devicePixelRatio();
    QCOMPARE(scale, qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble());
    QCOMPARE(image.size(), QSize(qRound(282 * scale), qRound(146 * scale)));
    // Whether the logical pixels from (left, top) up to (right, bottom) are all `colour`.
    const auto filled = [&](int left, int top, int right, int bottom, QColor colour) {
        const QRect area(QPoint(qRound(left * scale), qRound(top * scale)),
                         QPoint(qRound(right * scale) - 1, qRound(bottom * scale) - 1));
        return countPixels(image, area, colour) == area.width() * area.height();
    };
    // Shape1 is two pixels wide from (1, 1) to the right and bottom edges; Line1, Line2 one.
    const QColor frame = QApplication::palette().color(QPalette::Button);
    QVERIFY(filled(0, 21, 1, 144, Qt::black));
    QVERIFY(filled(1, 1, 280, 2, frame));
    QVERIFY(filled(1, 19, 3, 144, frame));
    QVERIFY(filled(281, 19, 282, 146, frame));
    QVERIFY(filled(280, 137, 282, 146, frame));
    QVERIFY(filled(1, 145, 282, 146, frame));
    QVERIFY(filled(280, 0, 281, 136, Qt::white));
    QVERIFY(filled(0, 144, 280, 145, Qt::white));
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
