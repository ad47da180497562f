// What reaches the main window's controls: the program's code through the
// fields by name and the timers, the keyboard, and screen readers.

#include "app/deliverables.h"
#include "forms/main_form.h"
#include "main_window_checks.h"
#include "runtime/timers.h"
#include "support/look.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <memory>

using namespace forms;

using runtime::Timer;

class TestMainAccess : public MainWindowSuite
{
    Q_OBJECT

private slots:
    void timersTickEveryTenthOfASecond();
    void fieldsHoldTheirNamesAtCreation();
    void fieldsAreReadAndWrittenByName();

    void focusStartsOnTheHiddenButtonAndCyclesTheButtons();
    void screenReaderFindsWhatTheScreenShows();
};

void TestMainAccess::timersTickEveryTenthOfASecond()
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

void TestMainAccess::fieldsHoldTheirNamesAtCreation()
{
    for (std::size_t i = 0; i < FieldCount; ++i) {
        if (const auto field = static_cast<Field>(i); field != Field::Final)
            QCOMPARE(m_main->text(field), QString::fromLatin1(fieldName(field)));
    }
    QCOMPARE(m_main->text(Field::Final), QStringLiteral("Label2"));
}

void TestMainAccess::fieldsAreReadAndWrittenByName()
{
    m_main->setText(Field::EndMon, QStringLiteral("24"));
    QCOMPARE(m_main->findChild<QLabel *>("EndMon")->text(), QStringLiteral("24"));
    m_main->findChild<QLabel *>("CurSec")->setText(QStringLiteral("30"));
    QCOMPARE(m_main->text(Field::CurSec), QStringLiteral("30"));
}

void TestMainAccess::focusStartsOnTheHiddenButtonAndCyclesTheButtons()
{
    const QPalette desktop = QApplication::palette(); // the text colours differ
    const auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
    QApplication::setPalette(distinctPalette());
    m_main->show();
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));
    // The focus mark: every other pixel, from the ones beside the corners, of
    // the sides of a rectangle three pixels inside the edge of the flat "About"
    // (220, 2, 43, 17), clear of its caption, in the button's text colour ('o').
    auto *about = m_main->findChild<QWidget *>("Command3");
    const auto mark = [&] {
        const QImage image = m_main->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QColor ink = about->palette().color(QPalette::ButtonText);
        QString pixels;
        for (const QRect side : {QRect(223, 5, 1, 11), QRect(223, 5, 37, 1), QRect(259, 5, 1, 11),
                                 QRect(223, 15, 37, 1)}) {
            for (int y = side.top(); y <= side.bottom(); ++y) {
                for (int x = side.left(); x <= side.right(); ++x)
                    pixels += image.pixelColor(x, y) == ink ? u'o' : u'.';
            }
        }
        return pixels;
    };
    const QString upright = QStringLiteral(".o").repeated(5) + u'.';
    const QString level = QStringLiteral(".o").repeated(18) + u'.';
    const QString dotted = upright + level + upright + level;
    about->setFocus(Qt::MouseFocusReason); // a click leaves no mark
    QCOMPARE(mark(), QString(dotted.size(), u'.'));
    m_main->findChild<QWidget *>("Command1")->setFocus();
    const QStringList cycle = {"Command2", "Command3", "Command4", "Command1", "Command2"};
    for (const QString &next : cycle) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), next);
        QCOMPARE(mark(), next == u"Command3" ? dotted : QString(dotted.size(), u'.'));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));
}

void TestMainAccess::screenReaderFindsWhatTheScreenShows()
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
        QCOMPARE(control->role(),
                 qobject_cast<QLabel *>(control->object()) ? QAccessible::StaticText
                                                           : QAccessible::PushButton);
        const QRect geometry = static_cast<QWidget *>(control->object())->geometry();
        QCOMPARE(control->state().offscreen, !VisibleArea.intersects(geometry));
        if (control->role() == QAccessible::PushButton && !control->state().offscreen)
            showingButtons << name;
    }
    QCOMPARE(window->indexOfChild(nullptr), -1);
    QCOMPARE(window->child(window->childCount()), nullptr);
    QCOMPARE(window->child(-1), nullptr);
    QCOMPARE(showingButtons, (QStringList{"Close", "About"}));
    auto *closeButton = m_main->findChild<QPushButton *>("Command4");
    QAccessibleInterface *close = QAccessible::queryAccessibleInterface(closeButton);
    // Set as the description itself: Qt would read a tooltip as one too.
    QCOMPARE(closeButton->accessibleDescription(),
             QStringLiteral("Closes every window and ends the program."));
    QVERIFY(closeButton->toolTip().isEmpty());
    QCOMPARE(close->text(QAccessible::Description), closeButton->accessibleDescription());
    QVERIFY(close->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
    for (const bool held : {true, false}) {
        closeButton->setDown(held);
        QCOMPARE(close->state().pressed, held);
    }
    // The sentence is text to be read; the hidden buttons still press.
    QAccessibleTextInterface *text
        = QAccessible::queryAccessibleInterface(m_main->findChild<QLabel *>("Final"))
              ->textInterface();
    QVERIFY(text);
    QCOMPARE(text->text(0, text->characterCount()), sentence);
    QCOMPARE(text->text(2, 5), QStringLiteral(" is"));
    QAccessible::queryAccessibleInterface(m_main->findChild<QWidget *>("Command1"))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(m_main->text(Field::MonNum) != QLatin1String("MonNum"));
}

QTEST_MAIN(TestMainAccess)
#include "test_main_access.moc"
