#include "large_tree_rows.h"

#include "bench_camera.h"
#include "bench_files.h"
#include "host_memory.h"
#include "timing.h"

#include <QDir>
#include <QLocale>

namespace {

const double mostBytesPerFile = 100;

QString shapeLabel(const TreeShape& shape)
{
    const QLocale english(QLocale::English);
    if (shape.folders == 1)
        return QStringLiteral("%1 files in one folder").arg(english.toString(shape.perFolder));
    return QStringLiteral("%1 x %2 files").arg(english.toString(shape.folders), english.toString(shape.perFolder));
}

}  // namespace

LargeTreeRows::LargeTreeRows(const CameraEntryPoints& entryPoints, const BenchSettings& settings,
                             const QString& workFolder, ResultsTable& table)
    : m_entryPoints(entryPoints), m_settings(settings), m_work(workFolder), m_table(table)
{
}

QString LargeTreeRows::run()
{
    if (bareWalk(m_work) < 0)
        return QStringLiteral("the bare walk needs the system's directory calls, done for Unix only");
    QString skipped;
    double perFileFirst = 0;
    QString firstLabel;
    for (const TreeShape& shape : m_settings.treeCurve) {
        const QString lacking = roomLacking(m_work, shape);
        if (!lacking.isEmpty()) {
            skipped = shapeLabel(shape) + QStringLiteral(": ") + lacking;
            continue;
        }
        const double perFile = runShape(shape, &shape == &m_settings.treeCurve.last());
        if (perFileFirst == 0) {
            perFileFirst = perFile;
            firstLabel = shapeLabel(shape);
            continue;
        }
        const bool last = &shape == &m_settings.treeCurve.last();
        m_table.add(QStringLiteral("8 open, per file"), shapeLabel(shape) + QStringLiteral(" / ") + firstLabel, perFile,
                    perFileFirst, ResultsTable::Unit::Seconds, perFile / perFileFirst,
                    last ? 1.2 : ResultsTable::noTarget);
    }
    const QString lacking = roomLacking(m_work, m_settings.flatFolder);
    if (lacking.isEmpty())
        runShape(m_settings.flatFolder, true);
    else
        skipped = shapeLabel(m_settings.flatFolder) + QStringLiteral(": ") + lacking;
    return skipped;
}

double LargeTreeRows::runShape(const TreeShape& shape, bool hasTargets)
{
    const QString root = QStringLiteral("%1/large-tree").arg(m_work);
    const QString image = m_work + QStringLiteral("/large-tree-image.png");
    m_checks.check(writeImage(patternImage(8, 8, false), image, "PNG"), QStringLiteral("cannot write ") + image);
    m_checks.check(createImageTree(root, image, shape), QStringLiteral("cannot make the tree ") + root);
    const QString label = shapeLabel(shape);
    const double target = hasTargets ? 1.0 : ResultsTable::noTarget;
    // Directory entries cached, as in a replay that lists its folder again.
    m_checks.check(filteredWalk(root) == shape.files(), QStringLiteral("the walk of %1 misses files").arg(root));

    releaseFreeHeap();
    const std::size_t before = residentBytes();
    BenchCamera camera(m_entryPoints, root, false);
    releaseFreeHeap();
    const std::size_t after = residentBytes();
    m_checks.check(camera.isReady(), QStringLiteral("camera did not open on ") + root);
    const double bytesPerFile = after > before ? double(after - before) / shape.files() : 0;
    m_table.add(QStringLiteral("8 resident list after open, bytes a file"), label, bytesPerFile, mostBytesPerFile,
                ResultsTable::Unit::None, bytesPerFile / mostBytesPerFile, target);

    const int rounds = m_settings.quick ? 1 : (shape.files() > 300000 ? 3 : 5);
    const auto open = [&] {
        return secondsFor(1, [&] { m_checks.check(camera.open() == 1, QStringLiteral("open failed on ") + root); });
    };
    const Comparison bare = compareInterleaved(rounds, open, [&] { return secondsFor(1, [&] { bareWalk(root); }); });
    m_table.add(QStringLiteral("8 open / bare readdir walk"), label, bare.subject, bare.floor,
                ResultsTable::Unit::Seconds, bare.ratio, 2.0 * target);
    const Comparison filtered =
        compareInterleaved(rounds, open, [&] { return secondsFor(1, [&] { filteredWalk(root); }); });
    m_table.add(QStringLiteral("8 open / filtered QDirIterator walk"), label, filtered.subject, filtered.floor,
                ResultsTable::Unit::Seconds, filtered.ratio, 0.5 * target);

    QDir(root).removeRecursively();
    QDir(root + QStringLiteral("-copies")).removeRecursively();
    return bare.subject / shape.files();
}
