// The main window in each build: the faces of the sentence differ, and
// everything else is the same.

#include "app/deliverables.h"
#include "forms/main_form.h"

#include <QLabel>
#include <QTest>

using namespace forms;

class TestMainBuilds : public QObject
{
    Q_OBJECT

private slots:
    void buildsDiffer_data();
    void buildsDiffer();
};

void TestMainBuilds::buildsDiffer_data()
{
    QTest::addColumn<bool>("tallybell");
    QTest::addColumn<QString>("face");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("label12Top");
    QTest::newRow("Countdown") << false << "LCARS" << 26.25 << 104;
    QTest::newRow("Tallybell-3") << true << "Arial" << 18.0 << 112;
}

void TestMainBuilds::buildsDiffer()
{
    QFETCH(bool, tallybell);
    QFETCH(QString, face);
    QFETCH(double, points);
    QFETCH(int, label12Top);
    Main main((tallybell ? app::deliverables::Tallybell_3 : app::deliverables::Countdown).mainLook);
    for (const char *name : {"Final", "Label12"}) {
        const QFont font = main.findChild<QLabel *>(name)->font();
        QCOMPARE(font.family(), face);
        QCOMPARE(font.pointSizeF(), points);
    }
    QCOMPARE(main.findChild<QLabel *>("Label12")->y(), label12Top);
    // Everything else is the same in both builds.
    Main other(
        (tallybell ? app::deliverables::Countdown : app::deliverables::Tallybell_3).mainLook);
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
    QCOMPARE(QString::fromLatin1(app::deliverables::Countdown.fileName),
             QStringLiteral("Countdown"));
    QCOMPARE(QString::fromLatin1(app::deliverables::Tallybell_3.fileName),
             QStringLiteral("Tallybell-3"));
    QCOMPARE(QString::fromLatin1(app::deliverables::Countdown.versionText), QStringLiteral("1.01"));
    QCOMPARE(QString::fromLatin1(app::deliverables::Tallybell_3.versionText),
             QStringLiteral("1.01.0002"));
}

QTEST_MAIN(TestMainBuilds)
#include "test_main_builds.moc"
