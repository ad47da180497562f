// What the main window draws, pixel by pixel: only its client area, its
// labels from their top-left corner, the desktop's colours, and a frame and
// lines that fill their pixels at every scale.

#include "forms/lmf2d.h"
#include "forms/main_form.h"
#include "main_window_checks.h"
#include "support/builds.h"
#include "support/look.h"

#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QStyle>
#include <QTest>

#include <memory>

using namespace forms;

class TestMainPixels : public MainWindowSuite
{
    Q_OBJECT

private slots:
    void onlyTheVisibleAreaIsDrawn();
    void labelsDrawFromTheirTopLeftCorner_data();
    void labelsDrawFromTheirTopLeftCorner();
    void systemColoursFollowTheDesktop();
    void frameAndLinesFillTheirPixels();
};

void TestMainPixels::onlyTheVisibleAreaIsDrawn()
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

void TestMainPixels::labelsDrawFromTheirTopLeftCorner_data()
{
    addBuildRows();
}

void TestMainPixels::labelsDrawFromTheirTopLeftCorner()
{
    QFETCH(const app::BuildSettings *, build);
    Main main(build->mainLook);
    const auto *label = main.findChild<QLabel *>("Label12");
    const QImage image = main.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect box = label->geometry().intersected(VisibleArea);
    // The first line of "Until Lantern Moss Fair !!!" starts at the top of the
    // box, and whatever does not fit is cut off at the bottom.
    const QRect topHalf(box.left(), box.top(), box.width(), box.height() / 2);
    QVERIFY(countPixels(image, topHalf, QColor(128, 128, 255)) > 50);
}

void TestMainPixels::systemColoursFollowTheDesktop()
{
    const QPalette desktop = QApplication::palette();
    const QString style = QApplication::style()->name();
    const auto restore = qScopeGuard([&] {
        QApplication::setPalette(desktop);
        QApplication::setStyle(style);
    });
    // The Windows style fills a button's face with the button colour itself.
    QVERIFY(QApplication::setStyle(QStringLiteral("Windows")));
    {
        const LMF2D gone; // its going leaves the others following the desktop
    }
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
void TestMainPixels::frameAndLinesFillTheirPixels()
{
    const QImage image = m_main->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal scale = image.devicePixelRatio();
    // The scale the run asked for: Qt's own factor, or the screen's DPI.
    const QString asked = qEnvironmentVariable("TEST_SCALE_PERCENT");
    QCOMPARE(scale,
             asked.isEmpty()
                 ? qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble()
                 : asked.toDouble() / 100);
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
    QVERIFY(filled(0, 19, 280, 21, frame)); // Line3, under the title strip
    QVERIFY(filled(1, 19, 3, 144, frame));
    QVERIFY(filled(281, 19, 282, 146, frame));
    QVERIFY(filled(280, 137, 282, 146, frame));
    QVERIFY(filled(1, 145, 282, 146, frame));
    QVERIFY(filled(280, 0, 281, 136, Qt::white));
    QVERIFY(filled(0, 144, 280, 145, Qt::white));
}

QTEST_MAIN(TestMainPixels)
#include "test_main_pixels.moc"
