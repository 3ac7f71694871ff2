#include "budget_row.h"

#include "bench_files.h"
#include "host_memory.h"
#include "pixel_checksum.h"
#include "timing.h"

#include <QDir>
#include <QImageReader>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr double mebibyte = 1024.0 * 1024.0;
const char* const capVariable = "KXCAM_PRELOAD_MAX_MB";
volatile unsigned char sink;

QStringList* capturedWarnings = nullptr;
QtMessageHandler previousHandler = nullptr;

void captureWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && capturedWarnings)
        capturedWarnings->append(message);
    previousHandler(type, context, message);
}

}  // namespace

BudgetRow::BudgetRow(const CameraEntryPoints& entryPoints, const BenchSettings& settings, const QString& workFolder,
                     ResultsTable& table)
    : m_entryPoints(entryPoints),
      m_settings(settings),
      m_folder(workFolder + QStringLiteral("/budget")),
      m_source(workFolder + QStringLiteral("/sources/budget.jpg")),
      m_table(table)
{
}

bool BudgetRow::prepare()
{
    const QImage frame = patternImage(m_settings.budgetFrame.width(), m_settings.budgetFrame.height(), true);
    QDir().mkpath(QFileInfo(m_source).absolutePath());
    if (!writeImage(frame, m_source, "JPEG"))
        return false;
    m_frameBytes = QImage(m_source).sizeInBytes();
    const int files = int(std::ceil(1.5 * m_settings.budgetMiB * mebibyte / double(m_frameBytes)));
    m_paths = replicate(m_source, m_folder, files);
    return !m_paths.isEmpty();
}

void BudgetRow::createCamera(HostCamera& camera, bool preload)
{
    camera.params().folder = m_folder;
    camera.params().preload = preload ? 1 : 0;
    camera.params().loop = 1;
    camera.setFrameHandler([this](ICameraObject& frame) {
        if (m_recording)
            m_checksums.append(pixelChecksum(frame));
    });
    m_checks.check(camera.create() && camera->open() == 1 && camera->start() == 1,
          QStringLiteral("camera did not open on ") + m_folder);
}

QList<quint32> BudgetRow::firstPassChecksums(HostCamera& camera)
{
    m_checksums.clear();
    m_recording = true;
    for (int i = 0; i < m_paths.size(); ++i)
        camera->trigger();
    m_recording = false;
    return m_checksums;
}

// How many files the cache holds, from the one warning of the open.
int BudgetRow::cachedFiles(const QStringList& warnings)
{
    const QRegularExpression preloaded(QStringLiteral("^Virtual Camera: Preloaded (\\d+) of (\\d+) images\\("));
    const QStringList ended = warnings.filter(preloaded);
    m_checks.check(ended.size() == 1, QStringLiteral("row 7: %1 warnings that the cache ended early").arg(ended.size()));
    const QRegularExpressionMatch match = preloaded.match(ended.value(0));
    m_checks.check(match.captured(2).toInt() == m_paths.size(), QStringLiteral("row 7: the warning counts other files"));
    return match.captured(1).toInt();
}

QString BudgetRow::run()
{
    if (!resetPeakResident() || residentBytes() == 0)
        return QStringLiteral("this platform does not report the peak resident size");
    QList<quint32> expected;
    {
        HostCamera decoding(m_entryPoints);
        createCamera(decoding, false);
        expected = firstPassChecksums(decoding);
    }
    releaseFreeHeap();
    const std::size_t before = residentBytes();
    resetPeakResident();
    HostCamera camera(m_entryPoints);
    QStringList warnings;
    capturedWarnings = &warnings;
    previousHandler = qInstallMessageHandler(captureWarning);
    qputenv(capVariable, QByteArray::number(m_settings.budgetMiB));
    createCamera(camera, true);
    qunsetenv(capVariable);
    qInstallMessageHandler(previousHandler);
    capturedWarnings = nullptr;
    const QList<quint32> preloaded = firstPassChecksums(camera);
    const std::size_t peak = peakResidentBytes();

    const int cached = cachedFiles(warnings);
    const qint64 budget = qint64(m_settings.budgetMiB * mebibyte);
    m_checks.check(cached == int(budget / m_frameBytes), QStringLiteral("row 7: %1 files cached, the budget holds %2")
                                                      .arg(cached).arg(budget / m_frameBytes));
    int equal = 0;
    for (int i = 0; i < std::min(preloaded.size(), expected.size()); ++i)
        equal += preloaded.at(i) == expected.at(i);
    m_checks.check(equal == m_paths.size() && preloaded.size() == m_paths.size(),
          QStringLiteral("row 7: %1 of %2 frames equal those delivered without preloading").arg(equal).arg(m_paths.size()));
    const double grown = peak > before ? double(peak - before) : 0;
    const double allowed = double(budget + 2 * m_frameBytes);
    m_table.add(QStringLiteral("7 peak resident growth, preload past its budget"),
                QStringLiteral("%1 files, %2 cached, budget %3 MiB").arg(m_paths.size()).arg(cached).arg(m_settings.budgetMiB),
                grown, allowed, ResultsTable::Unit::Bytes, grown / allowed, 1.0);
    timeTriggers(camera, cached);
    return QString();
}

// A round plays the cached files or the others from the first file on; the
// floors are a copy and a decode of the same frame into a reused buffer.
void BudgetRow::timeTriggers(HostCamera& camera, int cached)
{
    const int decoded = m_paths.size() - cached;
    if (cached == 0 || decoded == 0)
        return;
    const QImage frame(m_source);
    std::vector<unsigned char> buffer(static_cast<std::size_t>(frame.sizeInBytes()));
    QImage reused;
    const Comparison copy = compareInterleaved(
        m_settings.rounds,
        [&] {
            camera->start();
            return secondsFor(cached, [&] { camera->trigger(); }) / cached;
        },
        [&] {
            return secondsFor(cached, [&] {
                       std::memcpy(buffer.data(), frame.constBits(), buffer.size());
                       sink = buffer[buffer.size() / 2];
                   }) / cached;
        });
    const Comparison decode = compareInterleaved(
        m_settings.rounds,
        [&] {
            camera->start();
            for (int i = 0; i < cached; ++i)
                camera->trigger();
            return secondsFor(decoded, [&] { camera->trigger(); }) / decoded;
        },
        [&] { return secondsFor(decoded, [&] { QImageReader(m_source).read(&reused); }) / decoded; });
    const QString label = frameLabel(m_settings.budgetFrame, true, "JPEG");
    m_table.add(QStringLiteral("7 cached trigger past the budget"), label, copy.subject, copy.floor,
                ResultsTable::Unit::Seconds, copy.ratio, 1.15);
    m_table.add(QStringLiteral("7 decoded trigger past the budget"), label, decode.subject, decode.floor,
                ResultsTable::Unit::Seconds, decode.ratio, 1.05);
}
