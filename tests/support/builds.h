#pragma once

#include "support/deliverable_facts.h"

#include <QTest>

// The column "build" and one row for each deliverable, named after it.
inline void addBuildRows()
{
    QTest::addColumn<const app::BuildSettings *>("build");
    for (const DeliverableFacts &deliverable : Deliverables)
        QTest::newRow(deliverable.fileName) << deliverable.build;
}
