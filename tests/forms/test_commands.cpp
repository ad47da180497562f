#include "app/deliverables.h"
#include "forms/countdown.h"
#include "forms/lmf2d.h"
#include "forms/main_form.h"
#include "runtime/platform/system_move.h"
#include "runtime/timers.h"
#include "support/helpers.h"
#include "support/shown_windows.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace forms;

namespace {

const QString AboutPrompt = QStringLiteral(
    "I, Perrin Vask, made this program because I was stoked about Lantern Moss Fair and I "
    "wanted to know how long it would be from now. This was compiled at 6:07pm on March 5, "
    "2012.");

QStringList allFields(const Main &main)
{
    QStringList texts;
    for (std::size_t i = 0; i < FieldCount; ++i)
        texts << main.text(static_cast<Field>(i));
    return texts;
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void hiddenButtonsWorkFromTheKeyboard_data();
    void hiddenButtonsWorkFromTheKeyboard();
    void manualCountdownBeforeClockSamplingKeepsRunning();
    void manualCountdownOnTheEventDayOpensNothing();
    void aboutShowsItsBoxAndChangesNothing_data();
    void aboutShowsItsBoxAndChangesNothing();
    void pressOnTheTitleStripStartsAMove_data();
    void pressOnTheTitleStripStartsAMove();
    void pressOnTheButtonsStartsNoMove();
    void dragWithoutASystemMoveFollowsThePointer();
    void xClosesEveryWindowAndEndsTheProgram();

private:
    std::unique_ptr<Main> m_main;
};

void TestCommands::init()
{
    m_main = std::make_unique<Main>(app::deliverables::Countdown.mainLook);
    m_main->setTimer2Enabled(false); // only what the test presses runs
    m_main->findChild<runtime::Timer *>("Timer1")->setEnabled(false);
    m_main->show();
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
}

void TestCommands::cleanup()
{
    m_main.reset();
    runtime::resetEnding();
}

void TestCommands::hiddenButtonsWorkFromTheKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Space") << int(Qt::Key_Space) << int(Qt::NoModifier);
    QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier);
    // As X11 and Windows send it.
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
}

void TestCommands::hiddenButtonsWorkFromTheKeyboard()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    ProgramObserver program;
    FakeClock clock(at("2012-03-20T10:20:30"));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));

    // Command1: clock sampling, as a tick of Timer1 would.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_main->text(Field::MonNum), QStringLiteral("3"));
    QCOMPARE(m_main->text(Field::CurSec), QStringLiteral("30"));
    Main ticked(app::deliverables::Countdown.mainLook);
    CalculateCurrentTime(ticked);
    QCOMPARE(allFields(*m_main), allFields(ticked));

    // Command2: the manual countdown, bare figures only.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_main->text(Field::EndHour), QStringLiteral("14"));
    QCOMPARE(m_main->text(Field::EndMon), QStringLiteral("24"));
    QCOMPARE(m_main->text(Field::EndDays), QStringLiteral("EndDays"));
    QCOMPARE(m_main->text(Field::Final), QStringLiteral("Label2"));
    QVERIFY(program.reports.isEmpty());
}

void TestCommands::manualCountdownBeforeClockSamplingKeepsRunning()
{
    ProgramObserver program;
    const QStringList before = allFields(*m_main);
    QTest::mouseClick(m_main->findChild<QPushButton *>("Command2"), Qt::LeftButton);
    QCOMPARE(allFields(*m_main), before);
    QVERIFY(program.reports.isEmpty());
    QVERIFY(program.endStatuses.isEmpty());
}

void TestCommands::manualCountdownOnTheEventDayOpensNothing()
{
    ProgramObserver program;
    FakeClock clock(at("2012-04-13T12:00:00"));
    m_main->setTimer2Enabled(true);
    QTest::mouseClick(m_main->findChild<QPushButton *>("Command1"), Qt::LeftButton);
    QTest::mouseClick(m_main->findChild<QPushButton *>("Command2"), Qt::LeftButton);
    QCOMPARE(m_main->text(Field::EndMon), QStringLiteral("0"));
    QCOMPARE(m_main->text(Field::EndHour), QStringLiteral("12"));
    QVERIFY(m_main->isTimer2Enabled());
    QCOMPARE(shownEventDayWindows(), 0);
    m_main->setTimer2Enabled(false);
}

void TestCommands::aboutShowsItsBoxAndChangesNothing_data()
{
    QTest::addColumn<bool>("keyboard");
    QTest::addColumn<const app::BuildSettings *>("build");
    QTest::newRow("click") << false << &app::deliverables::Countdown;
    QTest::newRow("Tab Tab Space") << true << &app::deliverables::Countdown;
    QTest::newRow(app::deliverables::Tallybell_3.fileName)
        << false << &app::deliverables::Tallybell_3;
}

void TestCommands::aboutShowsItsBoxAndChangesNothing()
{
    QFETCH(bool, keyboard);
    QFETCH(const app::BuildSettings *, build);
    if (build != &app::deliverables::Countdown) {
        m_main = std::make_unique<Main>(build->mainLook);
        m_main->show();
    }
    FakeClock clock(at("2012-03-20T10:20:30"));
    CalculateCurrentTime(*m_main);
    CalculateTimeUntil(*m_main, true);
    const QStringList before = allFields(*m_main);

    BoxDismisser boxes;
    if (keyboard) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command3"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    } else {
        QTest::mouseClick(m_main->findChild<QPushButton *>("Command3"), Qt::LeftButton);
    }
    QCOMPARE(boxes.seen.size(), 1);
    const SeenBox &box = boxes.seen.first();
    QCOMPARE(box.title, QStringLiteral("About"));
    QCOMPARE(box.text, AboutPrompt);
    QCOMPARE(box.icon, QMessageBox::Information);
    QCOMPARE(box.buttons.size(), 1);
    QVERIFY(box.modal);
    QCOMPARE(allFields(*m_main), before);
    QVERIFY(m_main->isVisible());
}

void TestCommands::pressOnTheTitleStripStartsAMove_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    const QList<std::pair<const char *, Qt::MouseButton>> buttons
        = {{"left", Qt::LeftButton}, {"right", Qt::RightButton}, {"middle", Qt::MiddleButton}};
    const QList<std::pair<const char *, Qt::KeyboardModifiers>> modifiers
        = {{"", Qt::NoModifier},
           {"+Shift", Qt::ShiftModifier},
           {"+Ctrl", Qt::ControlModifier},
           {"+Alt", Qt::AltModifier},
           {"+Shift+Ctrl+Alt", Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier}};
    for (const auto &[buttonName, button] : buttons) {
        for (const auto &[modifierName, modifier] : modifiers) {
            QTest::addRow("%s%s", buttonName, modifierName) << int(button) << int(modifier.toInt());
        }
    }
}

void TestCommands::pressOnTheTitleStripStartsAMove()
{
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QList<QWidget *> moved;
    const SeamDouble move(platform::setSystemMove,
                          [&moved](QWidget *window) { moved.append(window); });
    auto *strip = m_main->findChild<QLabel *>("Label2");
    QTest::mousePress(strip, Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers),
                      QPoint(40, 8));
    QCOMPARE(moved, QList<QWidget *>{m_main.get()});
    QTest::mouseRelease(strip, Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers),
                        QPoint(40, 8));
    QCOMPARE(moved.size(), 1);
}

void TestCommands::pressOnTheButtonsStartsNoMove()
{
    QList<QWidget *> moved;
    const SeamDouble move(platform::setSystemMove,
                          [&moved](QWidget *window) { moved.append(window); });
    BoxDismisser boxes;
    const QPoint aboutCentre = m_main->findChild<QWidget *>("Command3")->geometry().center();
    QWidget *atAbout = m_main->childAt(aboutCentre);
    QCOMPARE(atAbout->objectName(), QStringLiteral("Command3"));
    QTest::mouseClick(atAbout, Qt::LeftButton);
    QCOMPARE(boxes.seen.size(), 1);

    const QPoint xCentre = m_main->findChild<QWidget *>("Command4")->geometry().center();
    QCOMPARE(m_main->childAt(xCentre)->objectName(), QStringLiteral("Command4"));
    QVERIFY(moved.isEmpty());
}

void TestCommands::dragWithoutASystemMoveFollowsThePointer()
{
    // Offscreen, as X11 without a window manager, refuses the system move.
    if (QGuiApplication::platformName() == QLatin1String("windows"))
        QSKIP("Windows never refuses its move loop (the desktop check drags through it)");
    auto *strip = m_main->findChild<QLabel *>("Label2");
    const QPoint start = m_main->pos();
    QCursor::setPos(strip->mapToGlobal(QPoint(40, 8)));
    QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(40, 8));
    QTest::mouseMove(strip, QPoint(140, 58));
    QCOMPARE(m_main->pos(), start + QPoint(100, 50));
    QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(40, 8));
}

void TestCommands::xClosesEveryWindowAndEndsTheProgram()
{
    const std::unique_ptr<QObject> watcher(runtime::endWhenLastWindowCloses());
    FakeClock clock(at("2012-04-13T08:00:00"));
    CalculateCurrentTime(*m_main);
    CalculateTimeUntil(*m_main, true);
    const QPointer<LMF2D> eventDay = shownWindow<LMF2D>();
    QVERIFY(eventDay && eventDay->isVisible());

    // Tab Tab Tab Space, as a user without a mouse would.
    QTimer::singleShot(0, this, [] {
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command4"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    });
    const int status = QApplication::exec();
    QCOMPARE(status, 0);
    QVERIFY(!m_main->isVisible());
    QVERIFY(!eventDay || !eventDay->isVisible());
    QVERIFY(runtime::isEnding());
}

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
