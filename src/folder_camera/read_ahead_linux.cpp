#include "read_ahead.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

// O_NONBLOCK: a file replaced by a named pipe after the scan must not block
// the host in open; it is then no regular file and is left alone.
int openWithoutBlocking(const QString& path)
{
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

// Whether the file's first byte is in the cache, asked without waiting for the
// disk. Files are read from the start, so that is the page evicted first.
bool startCached(int fd)
{
    char firstByte;
    iovec probe{&firstByte, 1};
    return ::preadv2(fd, &probe, 1, 0, RWF_NOWAIT) == 1;
}

// The kernel reads at most one read-ahead window per advice (128 KiB to a few
// MiB, by device), so a larger file is advised a piece at a time.
void adviseWholeFile(int fd)
{
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return;
    const off_t piece = 512 * 1024;
    for (off_t offset = 0; offset < status.st_size; offset += piece)
        ::posix_fadvise(fd, offset, piece, POSIX_FADV_WILLNEED);
}

bool cachedAlready(const QString& path)
{
    const int fd = openWithoutBlocking(path);
    if (fd < 0)
        return false;
    const bool cached = startCached(fd);
    ::close(fd);
    return cached;
}

// Advising a cached file would walk all its pages; probing it costs one call.
void advise(const QString& path, bool unlessCached)
{
    const int fd = openWithoutBlocking(path);
    if (fd < 0)
        return;
    if (!unlessCached || !startCached(fd))
        adviseWholeFile(fd);
    ::close(fd);
}

}  // namespace

void readAhead(const QStringList& paths)
{
    // A batch is read in order, so its last file is the last to be cached:
    // when that one is, so is the batch, and one probe was all it cost.
    if (paths.isEmpty() || cachedAlready(paths.last()))
        return;
    // A probe that misses starts reading the file's first pages itself, so the
    // last file, probed already, is advised without asking again.
    for (int i = 0; i < paths.size(); ++i)
        advise(paths.at(i), i + 1 < paths.size());
}
