// The message boxes that error reports and the program's own messages are
// shown in.

#include "runtime/message_box.h"
#include "support/helpers.h"

#include <QTest>

using namespace runtime;

class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxStyles_data();
    void messageBoxStyles();
};

void TestMessageBox::messageBoxStyles_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("icon");
    QTest::newRow("information") << 64 << int(QMessageBox::Information);
    QTest::newRow("exclamation") << 48 << int(QMessageBox::Warning);
    QTest::newRow("critical") << 16 << int(QMessageBox::Critical);
    QTest::newRow("question") << 32 << int(QMessageBox::Question);
}

void TestMessageBox::messageBoxStyles()
{
    QFETCH(int, style);
    QFETCH(int, icon);
    BoxDismisser boxes;
    msgBox(QStringLiteral("A <b>prompt</b>, exactly."), style, QStringLiteral("Title"));
    QCOMPARE(boxes.seen.size(), 1);
    const SeenBox &box = boxes.seen.first();
    QCOMPARE(box.title, QStringLiteral("Title"));
    QCOMPARE(box.text, QStringLiteral("A <b>prompt</b>, exactly."));
    QVERIFY(box.plainText);
    QCOMPARE(int(box.icon), icon);
    QCOMPARE(box.buttons.size(), 1);
    QVERIFY(box.modal);
}

QTEST_MAIN(TestMessageBox)
#include "test_message_box.moc"
