// Measures the folder camera module, loaded as a host loads it, against the
// floor of each of its costs, and prints one table of medians and ratios.
#include "bench_rows.h"
#include "budget_row.h"
#include "cold_rows.h"
#include "follow_rows.h"
#include "host_memory.h"
#include "large_tree_rows.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The module's farewell debug line would interleave with the table.
void quietDebug(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtDebugMsg)
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    qInstallMessageHandler(quietDebug);
    const QStringList arguments = application.arguments().mid(1);
    const bool quick = arguments.contains(QStringLiteral("--quick"));
    // Rows 3 and 8 alone: the scan's own figures in a minute rather than the whole run's.
    const bool scanOnly = arguments.contains(QStringLiteral("--scan-only"));
    // Row 10 alone: a followed folder.
    const bool followOnly = arguments.contains(QStringLiteral("--follow-only"));
    QString modulePath = QStringLiteral(KXCAM_MODULE_PATH);
    const int moduleOption = arguments.indexOf(QStringLiteral("--module"));
    if (moduleOption >= 0 && moduleOption + 1 < arguments.size())
        modulePath = arguments.at(moduleOption + 1);

    CameraModule module(modulePath);
    CameraModule moduleWithoutHint(QStringLiteral(KXCAM_MODULE_WITHOUT_READ_AHEAD_PATH));
    CameraModule pollingModule(QStringLiteral(KXCAM_MODULE_POLLING_PATH));
    for (CameraModule* loaded : {&module, &moduleWithoutHint, &pollingModule}) {
        if (!loaded->load()) {
            std::fprintf(stderr, "kxcam_bench: %s\n", qPrintable(loaded->errorString()));
            return 2;
        }
    }
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/kxcam-bench-XXXXXX"));
    const BenchSettings settings = quick ? BenchSettings::quickCheck() : BenchSettings::full();
    BenchRows rows(module.entryPoints(), settings, work.path());
    if (!work.isValid() || (!scanOnly && !followOnly && !rows.prepareFrames()) || (!followOnly && !rows.prepareTrees())) {
        std::fprintf(stderr, "kxcam_bench: cannot write the files under %s\n", qPrintable(work.path()));
        return 2;
    }

    std::printf("kxcam_bench%s, %s UTC, Qt %s\n\n", quick ? " --quick (figures not meaningful)" : "",
                qPrintable(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd hh:mm"))), qVersion());
    LargeTreeRows largeTreeRows(module.entryPoints(), settings, work.path(), rows.table());
    const auto runScanRows = [&] {
        rows.scanRows();
        const QString skipped = largeTreeRows.run();
        if (!skipped.isEmpty())
            std::printf("(row 8 skipped in part: %s)\n\n", qPrintable(skipped));
    };
    FollowRows followRows(module.entryPoints(), pollingModule.entryPoints(), settings, work.path(), rows.table());
    const auto runFollowRows = [&] {
        const QString skipped = followRows.run();
        if (!skipped.isEmpty())
            std::printf("(row 10 skipped: %s)\n\n", qPrintable(skipped));
    };
    if (followOnly) {
        runFollowRows();
        rows.table().print();
        return followRows.failed() ? 1 : 0;
    }
    if (scanOnly) {
        runScanRows();
        rows.table().print();
        return rows.failed() || largeTreeRows.failed() ? 1 : 0;
    }
    // Resident sizes first, before other rows leave freed pages for the cache to reuse.
    rows.memoryRow();
    BudgetRow budgetRow(module.entryPoints(), settings, work.path(), rows.table());
    if (!budgetRow.prepare()) {
        std::fprintf(stderr, "kxcam_bench: cannot write the folder of row 7 under %s\n", qPrintable(work.path()));
        return 2;
    }
    const QString budgetSkipped = budgetRow.run();
    if (!budgetSkipped.isEmpty())
        std::printf("(row 7 skipped: %s)\n\n", qPrintable(budgetSkipped));
    rows.folderSizeRow();
    rows.cameraLinesRow(QStringLiteral(KXCAM_SAMPLES_DIR));
    rows.triggerRows(QStringLiteral("default heap"));
    runScanRows();
    // After the rows above, so that writing back the cold folders' files cannot slow them.
    ColdRows coldRows(module.entryPoints(), moduleWithoutHint.entryPoints(), settings, work.path(), rows.table());
    if (!coldRows.prepare()) {
        std::fprintf(stderr, "kxcam_bench: cannot write the cold folders under %s\n", qPrintable(work.path()));
        return 2;
    }
    const QString coldSkipped = coldRows.run();
    if (!coldSkipped.isEmpty())
        std::printf("(row 6 skipped: %s)\n\n", qPrintable(coldSkipped));
    runFollowRows();
    if (forceFreshPagesForLargeAllocations())
        rows.triggerRows(QStringLiteral("fresh pages"));
    else
        std::printf("(this allocator cannot force fresh pages; rows 1 and 2 ran once)\n\n");
    rows.table().print();
    if (rows.failed() || coldRows.failed() || budgetRow.failed() || largeTreeRows.failed() || followRows.failed())
        return 1;
    if (!quick && !rows.table().allWithinTargets())
        std::printf("\nSome ratios are above their targets.\n");
    return 0;
}
