#include "follow_rows.h"

#include "bench_camera.h"
#include "bench_files.h"
#include "host_memory.h"
#include "timing.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace {

constexpr double idleTarget = 10e-6;
constexpr double settleSeconds = 0.2;  // the default
constexpr double mostBytesPerFile = 100;

// Follow mode for the cameras made while it lives.
class Following {
public:
    Following() { qputenv("KXCAM_FOLLOW", "1"); }
    ~Following() { qunsetenv("KXCAM_FOLLOW"); }
    Following(const Following&) = delete;
    Following& operator=(const Following&) = delete;
};

QString treeLabel(const TreeShape& shape)
{
    const QLocale english(QLocale::English);
    return QStringLiteral("%1 x %2 files").arg(english.toString(shape.folders), english.toString(shape.perFolder));
}

// Triggers until the camera has delivered `frames` in all, at most `limit`
// times, unless that is sooner than `seconds`; returns the triggers.
long long triggerUntil(BenchCamera& camera, long long frames, long long limit, double seconds = 0)
{
    QElapsedTimer clock;
    clock.start();
    long long triggers = 0;
    while (camera.frames() < frames && (triggers < limit || clock.nsecsElapsed() < seconds * 1e9)) {
        camera.trigger();
        ++triggers;
    }
    return triggers;
}

}  // namespace

FollowRows::FollowRows(const CameraEntryPoints& notified, const CameraEntryPoints& polling,
                       const BenchSettings& settings, const QString& workFolder, ResultsTable& table)
    : m_notified(notified), m_polling(polling), m_settings(settings), m_work(workFolder), m_table(table)
{
}

QString FollowRows::run()
{
    const TreeShape shape = m_settings.quick ? TreeShape{10, 100} : m_settings.treeCurve.last();
    const QString lacking = roomLacking(m_work, shape);
    if (!lacking.isEmpty())
        return treeLabel(shape) + QStringLiteral(": ") + lacking;
    const QString root = m_work + QStringLiteral("/followed-tree");
    const QString image = m_work + QStringLiteral("/followed-image.png");
    m_checks.check(writeImage(patternImage(8, 8, false), image, "PNG"), QStringLiteral("cannot write ") + image);
    m_checks.check(createImageTree(root, image, shape), QStringLiteral("cannot make the tree ") + root);
    endOfTreeRows(m_notified, root, shape, QStringLiteral("notified"));
    endOfTreeRows(m_polling, root, shape, QStringLiteral("polled"));
    QDir(root).removeRecursively();
    QDir(root + QStringLiteral("-copies")).removeRecursively();
    arrivalsMemoryRow();
    return QString();
}

// Played to its end, then triggered with nothing new; then a file renamed in.
void FollowRows::endOfTreeRows(const CameraEntryPoints& entryPoints, const QString& root, const TreeShape& shape,
                               const QString& how)
{
    const Following following;
    BenchCamera camera(entryPoints, root, false);
    m_checks.check(camera.isReady(), QStringLiteral("camera did not open on ") + root);
    // The tree was written just now: its files written within the settle time
    // before open are passed over and come at the end once they have settled.
    const long long played = triggerUntil(camera, shape.files(), 2LL * shape.files(), 5 * settleSeconds);
    m_checks.check(camera.frames() == shape.files(),
                   QStringLiteral("%1 triggers gave %2 frames of %3 files (%4)")
                       .arg(played).arg(camera.frames()).arg(shape.files()).arg(how));
    const QString label = treeLabel(shape) + QStringLiteral(", ") + how;

    // Rounds of a second, so that a polled camera's rounds each hold its polls,
    // which stand out from the other triggers by a thousand times.
    const bool notified = how == QLatin1String("notified");
    const int rounds = m_settings.quick ? 1 : 5;
    std::vector<double> perTrigger;
    std::vector<double> polls;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        long long triggers = 0;
        while (clock.nsecsElapsed() < 1000000000LL) {
            const qint64 before = clock.nsecsElapsed();
            camera.trigger();
            const double seconds = double(clock.nsecsElapsed() - before) / 1e9;
            if (seconds > 50e-6)
                polls.push_back(seconds);
            ++triggers;
        }
        perTrigger.push_back(double(clock.nsecsElapsed()) / 1e9 / triggers);
    }
    m_checks.check(camera.frames() == shape.files(), QStringLiteral("an idle trigger gave a frame (%1)").arg(how));
    const double idle = median(perTrigger);
    m_table.add(QStringLiteral("10 idle trigger at the end / 10 us"), label, idle, idleTarget,
                ResultsTable::Unit::Seconds, idle / idleTarget, notified ? 1.0 : ResultsTable::noTarget);
    if (!notified && !polls.empty()) {
        // What a poll cannot do without: each folder asked for.
        const QStringList folders = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::vector<double> looks;
        for (int round = 0; round < rounds; ++round)
            looks.push_back(secondsFor(1, [&] {
                for (const QString& folder : folders)
                    QFileInfo::exists(root + QLatin1Char('/') + folder);
            }));
        const double poll = median(polls);
        const double look = median(looks);
        m_table.add(QStringLiteral("10 idle trigger that polls / QFileInfo::exists of each folder"), label, poll, look,
                    ResultsTable::Unit::Seconds, poll / look, ResultsTable::noTarget);
    }

    // A complete file renamed in, as writers that use a temporary name do:
    // polled, a look at most a settle time after the rename sees it, and the
    // look a settle time later takes it.
    const QString temporary = root + QStringLiteral("/class_00000/renamed-in.png.tmp");
    m_checks.check(QFile::copy(root + QStringLiteral("/class_00000/img_00000000.png"), temporary),
                   QStringLiteral("cannot write ") + temporary);
    const QString renamed = temporary.left(temporary.size() - 4);
    QFile::remove(renamed);
    m_checks.check(QFile::rename(temporary, renamed), QStringLiteral("cannot rename ") + temporary);
    QElapsedTimer sinceRename;
    sinceRename.start();
    const long long triggers = triggerUntil(camera, shape.files() + 1LL, 1LL << 40);
    const double seconds = sinceRename.nsecsElapsed() / 1e9;
    QFile::remove(renamed);
    if (notified)
        m_table.add(QStringLiteral("10 triggers until a renamed-in file / 1"), label, double(triggers), 1,
                    ResultsTable::Unit::None, double(triggers), 1.0);
    else
        m_table.add(QStringLiteral("10 rename to delivery / settle time"), label, seconds, settleSeconds,
                    ResultsTable::Unit::Seconds, seconds / settleSeconds, 2.1);
}

// An empty followed folder that 100,000 files arrive in, a thousand at a
// time, each thousand played before the next is written.
void FollowRows::arrivalsMemoryRow()
{
    const int files = m_settings.quick ? 2000 : 100000;
    const int batch = 1000;
    const QString folder = m_work + QStringLiteral("/arrivals");
    QDir().mkpath(folder);
    QByteArray bytes;
    {
        const QString image = m_work + QStringLiteral("/arrival.png");
        writeImage(patternImage(8, 8, false), image, "PNG");
        QFile file(image);
        file.open(QIODevice::ReadOnly);
        bytes = file.readAll();
    }
    const Following following;
    releaseFreeHeap();
    const std::size_t before = residentBytes();
    BenchCamera camera(m_notified, folder, false);
    m_checks.check(camera.isReady(), QStringLiteral("camera did not open on ") + folder);
    for (int written = 0; written < files;) {
        for (const int end = written + batch; written < end; ++written) {
            QFile file(QStringLiteral("%1/arrival_%2.png").arg(folder).arg(written, 6, 10, QLatin1Char('0')));
            m_checks.check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
                           QStringLiteral("cannot write into ") + folder);
        }
        // Each file once: a million triggers for a thousand files is a file lost.
        triggerUntil(camera, written, 1000LL * batch);
    }
    releaseFreeHeap();
    const std::size_t after = residentBytes();
    m_checks.check(camera.frames() == files, QStringLiteral("%1 of %2 arrivals delivered").arg(camera.frames()).arg(files));
    const double bytesPerFile = after > before ? double(after - before) / files : 0;
    m_table.add(QStringLiteral("10 resident after following new files, bytes a file"),
                QLocale(QLocale::English).toString(files) + QStringLiteral(" files, notified"), bytesPerFile,
                mostBytesPerFile, ResultsTable::Unit::None, bytesPerFile / mostBytesPerFile, 1.0);
    QDir(folder).removeRecursively();
}
