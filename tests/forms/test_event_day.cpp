#include "forms/countdown.h"
#include "forms/lmf2d.h"
#include "forms/main_form.h"
#include "runtime/platform/drawn_frame.h"
#include "support/builds.h"
#include "support/helpers.h"
#include "support/shown_windows.h"

#include <QAccessible>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace forms;

namespace {

LMF2D *openEventDay(Main &main)
{
    FakeClock clock(at("2012-04-13T09:00:00"));
    CalculateCurrentTime(main);
    CalculateTimeUntil(main, true);
    return shownWindow<LMF2D>();
}

} // namespace

class TestEventDay : public QObject
{
    Q_OBJECT

private slots:
    void window();
    void screenReaderReadsThroughADrawnFrame();
    void controls_data();
    void controls();
    void headlineIsLcarsInBothBuilds_data();
    void headlineIsLcarsInBothBuilds();
    void buttonHasTheFocus();
    void eachClickShowsTheFarewell();
};

void TestEventDay::window()
{
    LMF2D window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Form1"));
    QCOMPARE(window.size(), QSize(502, 381));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.windowType(), Qt::Tool);
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::FramelessWindowHint));
    QCOMPARE(window.palette().color(QPalette::Window), QColor(Qt::black));
    QStringList names;
    for (const QObject *control : window.controls())
        names << control->objectName();
    QCOMPARE(names, (QStringList{"Command1", "Label2", "Label1"}));
    // A screen reader names the event first: the headline, then the footnote.
    const QAccessibleInterface *frame = QAccessible::queryAccessibleInterface(&window);
    QCOMPARE(frame->role(), QAccessible::Window);
    QCOMPARE(frame->text(QAccessible::Name), QStringLiteral("Form1"));
    QVERIFY(
        frame->text(QAccessible::Description)
            .startsWith(QStringLiteral("GET FUCKING EXITED LANTERN MOSS FAIR IS TODAY!!! *Also")));
    QCOMPARE(frame->childCount(), 3);
}

// As on Wayland, where the controls lie on a client area inside the frame.
void TestEventDay::screenReaderReadsThroughADrawnFrame()
{
    const SeamDouble drawn(platform::setDrawsOwnFrame, [] { return true; });
    LMF2D window;
    QVERIFY(window.findChild<platform::DrawnFrame *>());
    // Its own frame only: no title bar from the window system as well.
    QCOMPARE(window.windowFlags(), Qt::Tool | Qt::FramelessWindowHint);
    QAccessibleInterface *frame = QAccessible::queryAccessibleInterface(&window);
    QVERIFY(frame->text(QAccessible::Description).startsWith(QStringLiteral("GET FUCKING")));
    QCOMPARE(frame->childCount(), 3); // the labels and the button, not the frame or client
    for (int i = 0; i < frame->childCount(); ++i)
        QCOMPARE(frame->child(i)->parent(), frame);
}

void TestEventDay::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QColor>("text");
    QTest::newRow("button") << "Command1"
                            << "Click This." << QRect(400, 312, 81, 25) << QColor();
    QTest::newRow("footnote")
        << "Label2"
        << "*Also, if this window came up and the program actually worked, that is pretty good "
           "reason to be exited too!"
        << QRect(48, 352, 409, 25) << QApplication::palette().color(QPalette::Button);
    QTest::newRow("headline") << "Label1"
                              << "GET FUCKING EXITED LANTERN MOSS FAIR IS TODAY!!!"
                              << QRect(16, 16, 489, 329) << QColor(255, 0, 0);
}

void TestEventDay::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    QFETCH(QColor, text);
    LMF2D window;
    const auto *control = window.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), geometry);
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        QCOMPARE(label->text(), caption);
        QVERIFY(!label->autoFillBackground());
        QVERIFY(label->wordWrap());
        QCOMPARE(label->palette().color(QPalette::WindowText), text);
    } else {
        QCOMPARE(qobject_cast<const QPushButton *>(control)->text(), caption);
        QCOMPARE(control->font().family(), QStringLiteral("MS Sans Serif"));
    }
}

void TestEventDay::headlineIsLcarsInBothBuilds_data()
{
    addBuildRows();
}

void TestEventDay::headlineIsLcarsInBothBuilds()
{
    QFETCH(const app::BuildSettings *, build);
    ProgramObserver program;
    Main main(build->mainLook);
    const QPointer<LMF2D> window = openEventDay(main);
    QVERIFY(window);
    const QFont font = window->findChild<QLabel *>("Label1")->font();
    QCOMPARE(font.family(), QStringLiteral("LCARS"));
    QCOMPARE(font.pointSizeF(), 72.0);
    QCOMPARE(font.weight(), QFont::Normal);
    window->close();
}

void TestEventDay::buttonHasTheFocus()
{
    LMF2D window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), window.findChild<QWidget *>("Command1"));
}

void TestEventDay::eachClickShowsTheFarewell()
{
    LMF2D window;
    window.show();
    auto *button = window.findChild<QPushButton *>("Command1");
    BoxDismisser boxes;
    // A press that slides off the button is no click.
    QTest::mousePress(button, Qt::LeftButton);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, -5));
    QVERIFY(boxes.seen.isEmpty());
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(boxes.seen.size(), 2);
    for (const SeenBox &box : std::as_const(boxes.seen)) {
        QCOMPARE(box.title, QStringLiteral("HEY!"));
        QCOMPARE(box.text,
                 QStringLiteral("This program will not function anymore, delete it and "
                                "have a great time at the show."));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons.size(), 1);
        QVERIFY(box.modal);
    }
    QVERIFY(window.isVisible());
}

QTEST_MAIN(TestEventDay)
#include "test_event_day.moc"
