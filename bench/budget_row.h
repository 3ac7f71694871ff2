// Row 7: preloading a folder that needs about 1.5 times the cache's budget,
// set through KXCAM_PRELOAD_MAX_MB. The cache holds the first files and the
// rest are decoded at their trigger: the process's resident memory grows by no
// more than the budget and two frames, every frame equals the one delivered
// without preloading, a cached trigger costs a copy and the others a decode.
#ifndef BUDGET_ROW_H
#define BUDGET_ROW_H

#include "bench_checks.h"
#include "bench_rows.h"
#include "host_camera.h"

#include <QList>

class BudgetRow {
public:
    BudgetRow(const CameraEntryPoints& entryPoints, const BenchSettings& settings, const QString& workFolder,
              ResultsTable& table);

    // Writes the frame and the hard links to it; false on failure.
    bool prepare();
    // Empty when the row ran, else why it was skipped.
    QString run();
    // Set when a camera failed to open, the cache did not end as its budget
    // says, or a frame differed from the one delivered without preloading.
    bool failed() const { return m_checks.failed(); }

private:
    void createCamera(HostCamera& camera, bool preload);
    QList<quint32> firstPassChecksums(HostCamera& camera);
    int cachedFiles(const QStringList& warnings);
    void timeTriggers(HostCamera& camera, int cached);

    CameraEntryPoints m_entryPoints;
    BenchSettings m_settings;
    QString m_folder;
    QString m_source;
    QStringList m_paths;
    qint64 m_frameBytes = 0;
    ResultsTable& m_table;
    bool m_recording = false;
    QList<quint32> m_checksums;
    BenchChecks m_checks;
};

#endif
