#include "read_ahead.h"

#include <QFile>

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

void readAhead(const QString& path)
{
    // O_NONBLOCK: a file replaced by a named pipe after the scan must not
    // block the host in open; it fails the probe and the advice below.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return;
    // A first byte already in the cache means the file was read or hinted
    // lately: files are read from the start, so it is the page evicted first.
    // Probing it costs one call; advising a cached file walks all its pages.
    char firstByte;
    iovec probe{&firstByte, 1};
    if (::preadv2(fd, &probe, 1, 0, RWF_NOWAIT) != 1)
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
    ::close(fd);
}
