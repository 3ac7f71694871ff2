// stat's st_mtim: the file system's own nanoseconds.
#include "file_time.h"

#include <QFile>

#include <sys/stat.h>

bool fileModificationTime(const QString& path, qint64& nanoseconds)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return false;
    nanoseconds = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return true;
}
