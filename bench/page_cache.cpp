#include "page_cache.h"

#include <QFile>

#if defined(__linux__)
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

#if defined(__linux__)
// Asked without reading: a read of a dropped page would bring it back.
bool firstPageCached(int fd)
{
    void* const page = mmap(nullptr, 1, PROT_READ, MAP_SHARED, fd, 0);
    if (page == MAP_FAILED)
        return false;
    unsigned char resident = 0;
    const bool cached = mincore(page, 1, &resident) == 0 && (resident & 1);
    munmap(page, 1);
    return cached;
}
#endif

}  // namespace

QString evictFromPageCache(const QStringList& paths)
{
#if defined(__linux__)
    for (const QString& path : paths) {
        const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return QStringLiteral("cannot open ") + path;
        // Dirty pages cannot be dropped; the copies were just written.
        const bool dropped = fdatasync(fd) == 0 && posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0
                             && !firstPageCached(fd);
        close(fd);
        if (!dropped)
            return QStringLiteral("the file system keeps %1 cached (a RAM disk?)").arg(path);
    }
    return QString();
#else
    Q_UNUSED(paths);
    return QStringLiteral("dropping files from the cache is done for Linux only");
#endif
}
