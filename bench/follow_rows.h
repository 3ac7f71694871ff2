// Row 10: a followed folder (KXCAM_FOLLOW=1). What a trigger that finds
// nothing new costs at the end of a large tree, with the system's
// notifications and with every folder polled; how soon a file renamed in is
// delivered; and the bytes a listed file costs once 100,000 have arrived.
#ifndef FOLLOW_ROWS_H
#define FOLLOW_ROWS_H

#include "bench_checks.h"
#include "bench_rows.h"
#include "camera_module.h"
#include "image_tree.h"

class FollowRows {
public:
    // `polling`: the module built with every folder polled.
    FollowRows(const CameraEntryPoints& notified, const CameraEntryPoints& polling, const BenchSettings& settings,
               const QString& workFolder, ResultsTable& table);

    // Adds the rows; an empty string, or why some could not run here.
    QString run();
    // Set when a camera missed or repeated a file.
    bool failed() const { return m_checks.failed(); }

private:
    void endOfTreeRows(const CameraEntryPoints& entryPoints, const QString& root, const TreeShape& shape,
                       const QString& how);
    void arrivalsMemoryRow();

    CameraEntryPoints m_notified;
    CameraEntryPoints m_polling;
    BenchSettings m_settings;
    QString m_work;
    ResultsTable& m_table;
    BenchChecks m_checks;
};

#endif
