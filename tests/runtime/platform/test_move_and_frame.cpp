// The window-system stand-ins: a window that follows the pointer where the
// window system refuses to move it, and the frame drawn where it draws none.

#include "runtime/platform/drawn_frame.h"
#include "runtime/platform/system_move.h"
#include "support/look.h"
#include "support/seam_double.h"

#include <QScopeGuard>
#include <QScreen>
#include <QTest>
#include <QWidget>

using namespace platform;

class TestMoveAndFrame : public QObject
{
    Q_OBJECT

private slots:
    void pointerFollowerMovesTheWindowUntilRelease();
    void drawnFrameHoldsTheClientMovesAndCloses();
};

void TestMoveAndFrame::pointerFollowerMovesTheWindowUntilRelease()
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

void TestMoveAndFrame::drawnFrameHoldsTheClientMovesAndCloses()
{
    // At literal positions, in the desktop's colours: what the user sees. As
    // on many desktops, the inactive colours are the active ones, so that only
    // the frame itself redraws when the window loses the keyboard.
    const QPalette desktop = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
    QPalette palette = distinctPalette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto each = QPalette::ColorRole(role);
        palette.setColor(QPalette::Inactive, each, palette.color(QPalette::Active, each));
    }
    QApplication::setPalette(palette);
    QWidget window;
    window.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    QPalette own; // the form's own colours, which the frame does not take
    own.setColor(QPalette::Window, Qt::black);
    own.setColor(QPalette::WindowText, Qt::red);
    window.setPalette(own);
    QPixmap icon(22, 22);
    icon.fill(Qt::green);
    window.setWindowIcon(icon);
    window.setWindowTitle(QStringLiteral("Form1"));
    const QWidget *client = addDrawnFrame(&window, QSize(200, 100));
    QCOMPARE(window.size(), QSize(206, 133));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(client->geometry(), QRect(3, 30, 200, 100));

    QList<QWidget *> moved;
    const SeamDouble move(setSystemMove, [&moved](QWidget *w) { moved.append(w); });
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    window.show();
    QApplication::setActiveWindow(&window);
    QTRY_VERIFY(window.isActiveWindow());
    const auto colours = [&window](const QList<QPoint> &points) { // as shown, not drawn anew
        const QImage image = window.screen()->grabWindow(window.winId()).toImage();
        QList<QColor> found;
        for (const QPoint &point : points)
            found << image.pixelColor(point);
        return found;
    };
    // The title strip and its last row, the borders; the client's edges; the
    // middle of the close box's cross.
    const QList<QPoint> frame = {{100, 1}, {100, 29}, {2, 60}, {203, 60}, {100, 130}};
    const QList<QPoint> inside = {{100, 30}, {3, 60}, {202, 60}, {100, 129}};
    const QColor strip = palette.color(QPalette::Active, QPalette::Window);
    QTRY_COMPARE(colours(frame), QList<QColor>(frame.size(), strip));
    QCOMPARE(colours(inside), QList<QColor>(inside.size(), Qt::black));
    const QColor ink = palette.color(QPalette::Active, QPalette::WindowText);
    const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
    // The close box's cross: two strokes of eight pixels corner to corner in
    // the box (180, 6, 18, 18), nothing beyond their ends or between them.
    for (int x = 180; x < 198; ++x) {
        for (int y = 6; y < 24; ++y) {
            const int down = std::abs(x - y - 174);
            const int up = std::abs(x + y - 203);
            if (x >= 185 && x <= 192 && (down == 0 || up == 0))
                QCOMPARE(shown.pixelColor(x, y), ink);
            else if (std::min(down, up) >= 3 || x < 183 || x > 194 || y < 9 || y > 20)
                QCOMPARE(shown.pixelColor(x, y), strip);
        }
    }
    // The title, in the frame's ink, between the icon and the close box.
    int titleInk = 0;
    for (int x = 35; x < 175; ++x) {
        for (int y = 0; y < 30; ++y)
            titleInk += shown.pixelColor(x, y) == ink;
    }
    QVERIFY(titleInk > 5);
    // The icon's corners, left of the title in the middle of the strip, and
    // just beyond them.
    QCOMPARE(colours({{8, 4}, {29, 25}, {7, 4}, {8, 3}, {30, 25}, {29, 26}}),
             (QList<QColor>{Qt::green, Qt::green, strip, strip, strip, strip}));
    QApplication::setActiveWindow(&other);
    QTRY_VERIFY(!window.isActiveWindow());
    QTRY_COMPARE(colours({{189, 15}}),
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
}

QTEST_MAIN(TestMoveAndFrame)
#include "test_move_and_frame.moc"
