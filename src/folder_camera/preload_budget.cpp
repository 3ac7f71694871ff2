#include "preload_budget.h"

#include "available_memory.h"

#include <QByteArray>

#include <algorithm>

namespace {

constexpr qint64 mebibyte = 1024 * 1024;
// The host's frames, its own pipeline and the rest of the system live on
// what the cache leaves: a quarter of what is available, 512 MiB at least.
constexpr qint64 leastReserve = 512 * mebibyte;

}  // namespace

qint64 CPreloadBudget::capFromEnvironment()
{
    bool isNumber = false;
    const qint64 mebibytes = qgetenv("KXCAM_PRELOAD_MAX_MB").trimmed().toLongLong(&isNumber);
    if (!isNumber || mebibytes < 0 || mebibytes > noMemoryLimit / mebibyte)
        return -1;
    return mebibytes * mebibyte;
}

CPreloadBudget::CPreloadBudget(qint64 available, qint64 cap)
{
    m_bytes = available == noMemoryLimit ? noMemoryLimit
                                         : std::max<qint64>(available - std::max(available / 4, leastReserve), 0);
    if (cap >= 0)
        m_bytes = std::min(m_bytes, cap);
}
