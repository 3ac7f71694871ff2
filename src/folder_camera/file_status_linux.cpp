#include "file_status.h"

#include <QFile>

#include <sys/stat.h>

// Qt's file information would give the time as a local date, whose
// conversion costs ten times the call itself.
FileStatus fileStatus(const QString& path)
{
    FileStatus status;
    struct stat entry;
    if (::lstat(QFile::encodeName(path).constData(), &entry) != 0)
        return status;
    status.kind = S_ISREG(entry.st_mode)   ? FileStatus::Kind::File
                  : S_ISDIR(entry.st_mode) ? FileStatus::Kind::Folder
                                           : FileStatus::Kind::Other;
    status.size = entry.st_size;
    status.modified = qint64(entry.st_mtim.tv_sec) * 1000 + entry.st_mtim.tv_nsec / 1000000;
    return status;
}
