// The main window in each build: the faces of the sentence differ, and
// everything else is the same.

#include "forms/main_form.h"
#include "support/builds.h"

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
    QTest::addColumn<const app::BuildSettings *>("build");
    QTest::addColumn<QString>("face");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("label12Top");
    QTest::newRow(app::deliverables::Countdown.fileName)
        << &app::deliverables::Countdown << "LCARS" << 26.25 << 104;
    QTest::newRow(app::deliverables::Tallybell_3.fileName)
        << &app::deliverables::Tallybell_3 << "Arial" << 18.0 << 112;
}

void TestMainBuilds::buildsDiffer()
{
    QFETCH(const app::BuildSettings *, build);
    QFETCH(QString, face);
    QFETCH(double, points);
    QFETCH(int, label12Top);
    Main main(build->mainLook);
    for (const char *name : {"Final", "Label12"}) {
        const QFont font = main.findChild<QLabel *>(name)->font();
        QCOMPARE(font.family(), face);
        QCOMPARE(font.pointSizeF(), points);
    }
    QCOMPARE(main.findChild<QLabel *>("Label12")->y(), label12Top);
    // Everything else is the same in both builds.
    Main other((build == &app::deliverables::Countdown ? app::deliverables::Tallybell_3
                                                       : app::deliverables::Countdown)
                   .mainLook);
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
    // The settings the build generated are those of the deliverables' targets.
    for (const DeliverableFacts &deliverable : Deliverables) {
        QCOMPARE(QString::fromLatin1(deliverable.build->fileName),
                 QString::fromLatin1(deliverable.fileName));
        QCOMPARE(QString::fromLatin1(deliverable.build->versionText),
                 QString::fromLatin1(deliverable.versionText));
    }
}

QTEST_MAIN(TestMainBuilds)
#include "test_main_builds.moc"
