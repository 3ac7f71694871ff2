#include "cold_rows.h"

#include "bench_camera.h"
#include "bench_files.h"
#include "page_cache.h"
#include "timing.h"

#include <QDir>
#include <QFile>

#include <vector>

namespace {

struct Sample {
    std::vector<double> cold;
    std::vector<double> cached;
    std::vector<double> ratios;

    void add(double coldSeconds, double cachedSeconds)
    {
        cold.push_back(coldSeconds);
        cached.push_back(cachedSeconds);
        ratios.push_back(cachedSeconds > 0 ? coldSeconds / cachedSeconds : 0);
    }
};

}  // namespace

ColdRows::ColdRows(const CameraEntryPoints& withHint, const CameraEntryPoints& withoutHint,
                   const BenchSettings& settings, const QString& workFolder, ResultsTable& table)
    : m_withHint(withHint), m_withoutHint(withoutHint), m_settings(settings), m_work(workFolder), m_table(table)
{
}

bool ColdRows::prepare()
{
    for (const auto& shape : m_settings.shapes) {
        const QSize size = shape.first;
        const QImage image = patternImage(size.width(), size.height(), true);
        for (const char* kind : frameFileKinds) {
            const QString suffix = suffixOf(kind);
            const QString name = frameBaseName(size, kind);
            const QString source = QStringLiteral("%1/cold-sources/%2.%3").arg(m_work, name, suffix);
            ColdSet set{frameLabel(size, true, kind), QStringLiteral("%1/cold/%2").arg(m_work, name), {}};
            if (!QDir().mkpath(m_work + QStringLiteral("/cold-sources")) || !QDir().mkpath(set.folder)
                || !writeImage(image, source, kind))
                return false;
            for (int i = 0; i < m_settings.coldFiles; ++i) {
                set.paths.append(QStringLiteral("%1/frame%2.%3").arg(set.folder).arg(i, 4, 10, QLatin1Char('0')).arg(suffix));
                if (!QFile::copy(source, set.paths.last()))
                    return false;
            }
            m_sets.append(set);
        }
    }
    return true;
}

QString ColdRows::run()
{
    // Writes every copy back first, so that no pass waits for another set's writes.
    QStringList allPaths;
    for (const ColdSet& set : m_sets)
        allPaths += set.paths;
    const QString notEvicted = evictFromPageCache(allPaths);
    if (!notEvicted.isEmpty())
        return notEvicted;
    for (const ColdSet& set : m_sets) {
        for (const double hostWork : m_settings.hostWork) {
            runSet(set, hostWork);
            if (!m_evictionFailure.isEmpty())
                return m_evictionFailure;
        }
    }
    return QString();
}

void ColdRows::runSet(const ColdSet& set, double hostWork)
{
    BenchCamera withHint(m_withHint, set.folder, false);
    BenchCamera withoutHint(m_withoutHint, set.folder, false);
    const bool ready = withHint.isReady() && withoutHint.isReady();
    m_checks.check(ready, QStringLiteral("camera did not open on ") + set.folder);
    if (!ready)
        return;
    withHint.setHostWork(hostWork);
    withoutHint.setHostWork(hostWork);
    Sample hinted;
    Sample unhinted;
    for (int round = 0; round < m_settings.coldRounds; ++round) {
        // Alternate which build goes first, as the other rows alternate subject and floor.
        for (int turn = 0; turn < 2; ++turn) {
            const bool hint = (round + turn) % 2 == 0;
            BenchCamera& camera = hint ? withHint : withoutHint;
            m_evictionFailure = evictFromPageCache(set.paths);
            if (!m_evictionFailure.isEmpty())
                return;
            const double cold = pass(camera, set);
            (hint ? hinted : unhinted).add(cold, pass(camera, set));
        }
    }
    const QString work = QStringLiteral("host work %1 ms").arg(hostWork * 1e3, 0, 'f', 0);
    const double target = hostWork > 0 ? 1.10 : 1.15;
    m_table.add(QStringLiteral("6 cold / cached trigger, hint, %1").arg(work), set.label, median(hinted.cold),
                median(hinted.cached), ResultsTable::Unit::Seconds, median(hinted.ratios), target);
    m_table.add(QStringLiteral("6 cold / cached trigger, no hint, %1").arg(work), set.label, median(unhinted.cold),
                median(unhinted.cached), ResultsTable::Unit::Seconds, median(unhinted.ratios), ResultsTable::noTarget);
}

// Mean seconds a trigger keeps the host waiting, over one pass through the
// folder. The first trigger is left out: nothing can read its file ahead, and
// in a replay of thousands of files it is one of thousands.
double ColdRows::pass(BenchCamera& camera, const ColdSet& set)
{
    camera.start();
    const long long before = camera.frames();
    camera.trigger();
    double waited = 0;
    for (int i = 1; i < set.paths.size(); ++i)
        waited += camera.secondsToFrame();
    m_checks.check(camera.frames() - before == set.paths.size(), QStringLiteral("frames missing from ") + set.folder);
    return waited / (set.paths.size() - 1);
}
