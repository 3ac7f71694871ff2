#include "bench_rows.h"

#include "bench_camera.h"
#include "bench_files.h"
#include "host_memory.h"
#include "image_tree.h"
#include "timing.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLoggingCategory>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const int copiesPerFrameSet = 3;
volatile unsigned char sink;

}  // namespace

BenchSettings BenchSettings::full()
{
    BenchSettings settings;
    settings.shapes = {{QSize(640, 480), false}, {QSize(1920, 1080), true}, {QSize(2448, 2048), false}};
    return settings;
}

BenchSettings BenchSettings::quickCheck()
{
    BenchSettings settings;
    settings.quick = true;
    settings.rounds = 1;
    settings.roundSeconds = 0.0005;
    settings.shapes = {{QSize(64, 48), false}, {QSize(96, 54), true}, {QSize(122, 102), false}};
    settings.smallTree = 100;
    settings.largeTree = 1000;
    settings.largeFolder = 100;
    settings.treeCurve = {{2, 100}, {4, 100}};
    settings.flatFolder = {1, 300};
    settings.coldFiles = 2;
    settings.coldRounds = 1;
    settings.hostWork = {0, 0.001};
    settings.budgetFrame = QSize(600, 500);
    settings.budgetMiB = 4;
    return settings;
}

BenchRows::BenchRows(const CameraEntryPoints& entryPoints, const BenchSettings& settings, const QString& workFolder)
    : m_entryPoints(entryPoints), m_settings(settings), m_work(workFolder)
{
}

bool BenchRows::prepareFrames()
{
    for (const auto& shape : m_settings.shapes) {
        const QImage image = patternImage(shape.first.width(), shape.first.height(), shape.second);
        for (const char* kind : frameFileKinds) {
            FrameSet set;
            set.label = frameLabel(shape.first, shape.second, kind);
            const QString name = frameBaseName(shape.first, kind);
            set.source = QStringLiteral("%1/sources/%2.%3").arg(m_work, name, suffixOf(kind));
            set.folder = QStringLiteral("%1/frames/%2").arg(m_work, name);
            QDir().mkpath(m_work + QStringLiteral("/sources"));
            if (!writeImage(image, set.source, kind))
                return false;
            set.paths = replicate(set.source, set.folder, copiesPerFrameSet);
            if (set.paths.isEmpty())
                return false;
            m_frameSets.append(set);
        }
    }
    return true;
}

void BenchRows::triggerRows(const QString& allocatorMode)
{
    for (const FrameSet& set : m_frameSets) {
        BenchCamera camera(m_entryPoints, set.folder, false);
        m_checks.check(camera.isReady(), QStringLiteral("camera did not open on ") + set.folder);
        QImage reused;
        int next = 0;
        const auto decodeIntoReused = [&] {
            QImageReader reader(set.paths.at(next++ % set.paths.size()));
            reader.read(&reused);
        };
        const int operations = operationsPerRound(m_settings.roundSeconds, decodeIntoReused, 2000);
        camera.trigger();
        const long long before = camera.frames();
        const Comparison decode = compareInterleaved(
            m_settings.rounds,
            [&] { return secondsFor(operations, [&] { camera.trigger(); }) / operations; },
            [&] { return secondsFor(operations, decodeIntoReused) / operations; });
        m_checks.check(camera.frames() - before == static_cast<long long>(operations) * m_settings.rounds,
              QStringLiteral("frames missing from ") + set.folder);
        m_table.add(QStringLiteral("1 trigger, %1").arg(allocatorMode), set.label, decode.subject, decode.floor,
                    ResultsTable::Unit::Seconds, decode.ratio, 1.05);
    }
    for (const FrameSet& set : m_frameSets) {
        BenchCamera camera(m_entryPoints, set.folder, true);
        m_checks.check(camera.isReady(), QStringLiteral("camera did not open on ") + set.folder);
        std::vector<QImage> decoded;
        for (const QString& path : set.paths)
            decoded.emplace_back(path);
        std::vector<unsigned char> buffer(static_cast<std::size_t>(decoded.front().sizeInBytes()));
        std::size_t next = 0;
        const auto copyIntoReused = [&] {
            const QImage& source = decoded[next++ % decoded.size()];
            std::memcpy(buffer.data(), source.constBits(), buffer.size());
            sink = buffer[next % buffer.size()];
        };
        const int operations = operationsPerRound(m_settings.roundSeconds, copyIntoReused, 5000);
        camera.trigger();
        const long long before = camera.frames();
        const Comparison copy = compareInterleaved(
            m_settings.rounds,
            [&] { return secondsFor(operations, [&] { camera.trigger(); }) / operations; },
            [&] { return secondsFor(operations, copyIntoReused) / operations; });
        m_checks.check(camera.frames() - before == static_cast<long long>(operations) * m_settings.rounds,
              QStringLiteral("frames missing from ") + set.folder);
        m_table.add(QStringLiteral("2 preloaded trigger, %1").arg(allocatorMode), set.label, copy.subject, copy.floor,
                    ResultsTable::Unit::Seconds, copy.ratio, 1.15);
    }
}

bool BenchRows::prepareTrees()
{
    for (const int count : {m_settings.smallTree, m_settings.largeTree}) {
        if (!createDummyTree(treeRoot(count), count, 1000))
            return false;
    }
    return true;
}

QString BenchRows::treeRoot(int count) const
{
    return QStringLiteral("%1/tree%2").arg(m_work).arg(count);
}

void BenchRows::scanRows()
{
    double perFileSmall = 0;
    for (const int count : {m_settings.smallTree, m_settings.largeTree}) {
        const QString root = treeRoot(count);
        BenchCamera camera(m_entryPoints, root, false);
        m_checks.check(camera.isReady(), QStringLiteral("camera did not open on ") + root);
        m_checks.check(filteredWalk(root) == count, QStringLiteral("walk of %1 misses files").arg(root));
        const int rounds = m_settings.quick ? 1 : (count > 20000 ? 7 : 15);
        const Comparison scan = compareInterleaved(
            rounds, [&] { return secondsFor(1, [&] { m_checks.check(camera.open() == 1, QStringLiteral("open failed")); }); },
            [&] { return secondsFor(1, [&] { filteredWalk(root); }); });
        m_table.add(QStringLiteral("3 open"), QStringLiteral("%1 files").arg(count), scan.subject, scan.floor,
                    ResultsTable::Unit::Seconds, scan.ratio, 0.6);
        const double perFile = scan.subject / count;
        if (perFileSmall == 0) {
            perFileSmall = perFile;
        } else {
            m_table.add(QStringLiteral("3 open, per file"),
                        QStringLiteral("%1 files / %2 files").arg(m_settings.largeTree).arg(m_settings.smallTree),
                        perFile, perFileSmall, ResultsTable::Unit::Seconds, perFile / perFileSmall, 1.2);
        }
        QDir(root).removeRecursively();
    }
}

void BenchRows::memoryRow()
{
    const QString folder = m_work + QStringLiteral("/memory");
    QDir().mkpath(folder);
    double frameBytes = 0;
    double largestFrame = 0;
    for (const FrameSet& set : m_frameSets) {
        const QString copy = folder + QLatin1Char('/') + QFileInfo(set.source).fileName();
        m_checks.check(QFile::copy(set.source, copy), QStringLiteral("cannot copy ") + set.source);
        const double bytes = static_cast<double>(QImage(copy).sizeInBytes());
        frameBytes += bytes;
        largestFrame = std::max(largestFrame, bytes);
    }
    releaseFreeHeap();
    const std::size_t before = residentBytes();
    BenchCamera camera(m_entryPoints, folder, true);
    const std::size_t after = residentBytes();
    m_checks.check(camera.isReady(), QStringLiteral("camera did not open on ") + folder);
    const double grown = after > before ? static_cast<double>(after - before) : 0;
    m_table.add(QStringLiteral("4 resident after preload"), QStringLiteral("%1 frames").arg(m_frameSets.size()), grown,
                frameBytes, ResultsTable::Unit::Bytes, grown / frameBytes, 1.01 + largestFrame / frameBytes);
}

void BenchRows::folderSizeRow()
{
    // The cheapest decode, the first shape's BMP, shows best what else a trigger costs.
    const FrameSet* cheapest = &m_frameSets.first();
    for (const FrameSet& set : m_frameSets) {
        if (set.label.endsWith(QLatin1String("BMP"))) {
            cheapest = &set;
            break;
        }
    }
    const QStringList few = replicate(cheapest->source, m_work + QStringLiteral("/few"), 10);
    const QStringList many = replicate(cheapest->source, m_work + QStringLiteral("/many"), m_settings.largeFolder);
    m_checks.check(!few.isEmpty() && !many.isEmpty(), QStringLiteral("cannot link frames"));
    BenchCamera fewCamera(m_entryPoints, m_work + QStringLiteral("/few"), false);
    BenchCamera manyCamera(m_entryPoints, m_work + QStringLiteral("/many"), false);
    m_checks.check(fewCamera.isReady() && manyCamera.isReady(), QStringLiteral("camera did not open on the folders of row 5"));
    const int operations = operationsPerRound(m_settings.roundSeconds, [&] { fewCamera.trigger(); }, 2000);
    const Comparison trigger = compareInterleaved(
        m_settings.rounds, [&] { return secondsFor(operations, [&] { manyCamera.trigger(); }) / operations; },
        [&] { return secondsFor(operations, [&] { fewCamera.trigger(); }) / operations; });
    m_table.add(QStringLiteral("5 trigger, %1-file / 10-file folder").arg(m_settings.largeFolder), cheapest->label,
                trigger.subject, trigger.floor, ResultsTable::Unit::Seconds, trigger.ratio, 1.05);
}

// The camera's own lines on, as a user asking which file each frame is turns
// them on; the host's handler drops them, so the row holds what the module adds.
void BenchRows::cameraLinesRow(const QString& folder)
{
    BenchCamera camera(m_entryPoints, folder, false);
    m_checks.check(camera.isReady(), QStringLiteral("camera did not open on ") + folder);
    const int operations = operationsPerRound(m_settings.roundSeconds, [&] { camera.trigger(); }, 2000);
    const auto triggers = [&](const char* rules) {
        QLoggingCategory::setFilterRules(QLatin1String(rules));
        return secondsFor(operations, [&] { camera.trigger(); }) / operations;
    };
    const Comparison lines = compareInterleaved(
        m_settings.rounds, [&] { return triggers("kxcam.camera.debug=true"); }, [&] { return triggers(""); });
    m_table.add(QStringLiteral("9 trigger, the camera's lines on / off"), QStringLiteral("sample set"), lines.subject,
                lines.floor, ResultsTable::Unit::Seconds, lines.ratio, 1.05);
}
