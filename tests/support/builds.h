#pragma once

#include "app/deliverables.h"

#include <QTest>

#include <array>

// A deliverable as its target has it, and its settings as the program has them.
struct DeliverableFacts {
    const app::BuildSettings *build;
    const char *fileName;
    const char *versionText;
    const char *desktopId;
};

#include "support/deliverable_facts.h" // every deliverable: Deliverables

// The column "build" and one row for each deliverable, named after it.
inline void addBuildRows()
{
    QTest::addColumn<const app::BuildSettings *>("build");
    for (const DeliverableFacts &deliverable : Deliverables)
        QTest::newRow(deliverable.fileName) << deliverable.build;
}
