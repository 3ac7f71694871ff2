#include "preload_budget.h"

#include "available_memory.h"

#include <QByteArray>
#include <QDebug>
#include <QMessageLogger>
#include <QString>

#include <algorithm>

namespace {

const char capVariable[] = "KXCAM_PRELOAD_MAX_MB";
constexpr qint64 mebibyte = 1024 * 1024;
constexpr qint64 mostCapMebibytes = noMemoryLimit / mebibyte;
// The host's frames, its own pipeline and the rest of the system live on
// what the cache leaves: a quarter of what is available, 512 MiB at least.
constexpr qint64 leastReserve = 512 * mebibyte;

}  // namespace

qint64 PreloadBudget::capFromEnvironment()
{
    const QByteArray value = qgetenv(capVariable);
    if (value.isNull())
        return -1;
    bool isNumber = false;
    const qint64 mebibytes = value.trimmed().toLongLong(&isNumber);
    if (isNumber && mebibytes >= 0 && mebibytes <= mostCapMebibytes)
        return mebibytes * mebibyte;
    // The host set it to keep memory for itself: a value that is not taken must not go unnoticed.
    QMessageLogger().warning() << "Virtual Camera: Preload cap( " << QString::fromLocal8Bit(value) << " ) of"
                               << capVariable << "ignored, the cache has none: it takes a whole number of MiB from 0 to"
                               << mostCapMebibytes;
    return -1;
}

PreloadBudget::PreloadBudget(qint64 available, qint64 cap)
{
    m_bytes = available == noMemoryLimit ? noMemoryLimit
                                         : std::max<qint64>(available - std::max(available / 4, leastReserve), 0);
    if (cap >= 0)
        m_bytes = std::min(m_bytes, cap);
}
