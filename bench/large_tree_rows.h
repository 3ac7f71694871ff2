// Row 8: opening trees of up to a million files against a bare directory walk
// and Qt's filtered walk, the list's resident bytes a file, and the host
// programs' own listing against the module's open.
#ifndef LARGE_TREE_ROWS_H
#define LARGE_TREE_ROWS_H

#include "bench_checks.h"
#include "bench_rows.h"
#include "image_tree.h"

class LargeTreeRows {
public:
    LargeTreeRows(const CameraEntryPoints& entryPoints, const BenchSettings& settings, const QString& workFolder,
                  ResultsTable& table);

    // Adds the rows; an empty string, or why some could not run here.
    QString run();
    // Set when a tree could not be made or a camera listed other files than the walk.
    bool failed() const { return m_checks.failed(); }

private:
    // Seconds a file of `shape`'s open.
    double runShape(const TreeShape& shape, bool hasTargets);

    CameraEntryPoints m_entryPoints;
    BenchSettings m_settings;
    QString m_work;
    ResultsTable& m_table;
    BenchChecks m_checks;
};

#endif
