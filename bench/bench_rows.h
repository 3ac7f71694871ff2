// The benchmark rows: each puts the loaded module's camera side by side with
// the least work its operation can cost.
#ifndef BENCH_ROWS_H
#define BENCH_ROWS_H

#include "bench_checks.h"
#include "camera_module.h"
#include "image_tree.h"
#include "results_table.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

struct BenchSettings {
    bool quick = false;
    int rounds = 11;
    double roundSeconds = 0.04;
    QList<QPair<QSize, bool>> shapes;  // frame size, colour
    int smallTree = 10000;
    int largeTree = 100000;
    int largeFolder = 10000;
    // Row 8: trees whose open is compared with the first's, file for file, and one flat folder.
    QList<TreeShape> treeCurve{{10, 1000}, {100, 1000}, {1000, 1000}};
    TreeShape flatFolder{1, 200000};
    // The cold rows: distinct files per frame, passes, host work per frame in seconds.
    int coldFiles = 16;
    int coldRounds = 5;
    QList<double> hostWork{0, 0.015};
    // Row 7: the frame of a folder 1.5 times the preload budget, and the budget.
    QSize budgetFrame{2448, 2048};
    int budgetMiB = 512;

    static BenchSettings full();
    static BenchSettings quickCheck();
};

class BenchRows {
public:
    BenchRows(const CameraEntryPoints& entryPoints, const BenchSettings& settings, const QString& workFolder);

    // False when the frames cannot be written.
    bool prepareFrames();
    // The trees of the scan rows, made well before they are walked: the
    // system writing back thousands of new files would slow the walks.
    bool prepareTrees();
    void triggerRows(const QString& allocatorMode);
    void scanRows();
    void memoryRow();
    void folderSizeRow();
    void cameraLinesRow(const QString& folder);
    const ResultsTable& table() const { return m_table; }
    ResultsTable& table() { return m_table; }
    // Set when a camera failed to open or delivered fewer frames than triggered.
    bool failed() const { return m_checks.failed(); }

private:
    struct FrameSet {
        QString label;
        QString source;
        QString folder;
        QStringList paths;
    };

    QString treeRoot(int count) const;

    CameraEntryPoints m_entryPoints;
    BenchSettings m_settings;
    QString m_work;
    QList<FrameSet> m_frameSets;
    ResultsTable m_table;
    BenchChecks m_checks;
};

#endif
