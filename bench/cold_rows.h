// The cold-folder rows: a trigger on files that must come from the disk
// against the same trigger on cached files, by the module with its read-ahead
// hint and by a build of it without the hint, with and without host work.
#ifndef COLD_ROWS_H
#define COLD_ROWS_H

#include "bench_checks.h"
#include "bench_rows.h"

class BenchCamera;

class ColdRows {
public:
    ColdRows(const CameraEntryPoints& withHint, const CameraEntryPoints& withoutHint, const BenchSettings& settings,
             const QString& workFolder, ResultsTable& table);

    // Distinct copies of each frame (a hard link would share the cached
    // pages); false when they cannot be written.
    bool prepare();
    // Adds the rows; an empty string, or why they cannot run here.
    QString run();
    // Set when a camera failed to open or delivered fewer frames than triggered.
    bool failed() const { return m_checks.failed(); }

private:
    struct ColdSet {
        QString label;
        QString folder;
        QStringList paths;
    };

    void runSet(const ColdSet& set, double hostWork);
    double pass(BenchCamera& camera, const ColdSet& set);

    CameraEntryPoints m_withHint;
    CameraEntryPoints m_withoutHint;
    BenchSettings m_settings;
    QString m_work;
    ResultsTable& m_table;
    QList<ColdSet> m_sets;
    QString m_evictionFailure;
    BenchChecks m_checks;
};

#endif
