#include "app/program_icon.h"

#include <QImageReader>
#include <QSet>
#include <QTest>

// The Windows icon group and the PNGs of the window icon and the desktop are
// made from the same pictures; these tests read both back with Qt's own
// readers and compare them pixel by pixel.

namespace {

const QRgb Black = qRgb(0, 0, 0);
const QRgb LightBlue = qRgb(128, 128, 255);
const QRgb PaleBlue = qRgb(192, 192, 255);

QList<QImage> iconGroupImages()
{
    QImageReader reader(QStringLiteral(PROGRAM_ICO));
    QList<QImage> images;
    for (int index = 0; index < reader.imageCount(); ++index) {
        reader.jumpToImage(index);
        images.append(reader.read().convertToFormat(QImage::Format_ARGB32));
    }
    return images;
}

QImage windowIconImage(int size)
{
    return QImage(QStringLiteral(":/icons/program-%1.png").arg(size))
        .convertToFormat(QImage::Format_ARGB32);
}

// Where the picture is transparent, only that counts, not the colour.
QRgb normalised(QRgb pixel)
{
    return qAlpha(pixel) == 0 ? 0 : pixel;
}

QSet<QRgb> coloursOf(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(normalised(image.pixel(x, y)));
    return colours;
}

} // namespace

class TestProgramIcon : public QObject
{
    Q_OBJECT

private slots:
    void windowIconHasTheDesktopSizes();

    void iconGroupImageShowsTheWindowIconPicture_data();
    void iconGroupImageShowsTheWindowIconPicture();

    void twoColourImageHasTheShapeOfTheLargeIcon();
};

void TestProgramIcon::windowIconHasTheDesktopSizes()
{
    const QIcon icon = app::programIcon();
    QVERIFY(!icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    QVERIFY2(sizes.contains(QSize(16, 16)), "no 16 x 16 image");
    QVERIFY2(sizes.contains(QSize(32, 32)), "no 32 x 32 image");
    for (const int size : {16, 32})
        QCOMPARE(icon.pixmap(size).size(), QSize(size, size));
}

void TestProgramIcon::iconGroupImageShowsTheWindowIconPicture_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("size");
    QTest::newRow("32 x 32, 16 colours") << 1 << 32;
    QTest::newRow("16 x 16, 16 colours") << 2 << 16;
}

void TestProgramIcon::iconGroupImageShowsTheWindowIconPicture()
{
    QFETCH(int, index);
    QFETCH(int, size);
    const QList<QImage> group = iconGroupImages();
    QCOMPARE(group.size(), 3);
    const QImage &fromIco = group.at(index);
    const QImage fromPng = windowIconImage(size);
    QCOMPARE(fromIco.size(), QSize(size, size));
    QCOMPARE(fromPng.size(), QSize(size, size));

    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (normalised(fromIco.pixel(x, y)) != normalised(fromPng.pixel(x, y)))
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2): .ico %3, PNG %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(fromIco.pixel(x, y), 8, 16)
                                     .arg(fromPng.pixel(x, y), 8, 16)));
        }
    }
    const QSet<QRgb> allowed{0, Black, LightBlue, PaleBlue};
    QVERIFY2(allowed.contains(coloursOf(fromPng)), "a colour outside the program's colours");
    // The tile is opaque black with a transparent corner.
    QCOMPARE(normalised(fromPng.pixel(0, 0)), QRgb(0));
    QCOMPARE(fromPng.pixel(size / 2, 0), Black);
}

void TestProgramIcon::twoColourImageHasTheShapeOfTheLargeIcon()
{
    const QList<QImage> group = iconGroupImages();
    QCOMPARE(group.size(), 3);
    const QImage &twoColours = group.at(0);
    const QImage large = windowIconImage(32);
    QCOMPARE(twoColours.size(), QSize(32, 32));

    const QSet<QRgb> allowed{0, Black, LightBlue};
    QVERIFY2(allowed.contains(coloursOf(twoColours)), "colours other than black and light blue");
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb two = normalised(twoColours.pixel(x, y));
            const QRgb many = normalised(large.pixel(x, y));
            // Same transparency, and black wherever the large icon is black.
            QCOMPARE(qAlpha(two), qAlpha(many));
            QCOMPARE(two == Black, many == Black);
        }
    }
}

QTEST_MAIN(TestProgramIcon)
#include "test_program_icon.moc"
