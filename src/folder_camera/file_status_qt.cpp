#include "file_status.h"

#include <QDateTime>
#include <QFileInfo>

FileStatus fileStatus(const QString& path)
{
    FileStatus status;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return status;
    status.kind = info.isSymLink() ? FileStatus::Kind::Other
                  : info.isFile()  ? FileStatus::Kind::File
                  : info.isDir()   ? FileStatus::Kind::Folder
                                   : FileStatus::Kind::Other;
    status.size = info.size();
    status.modified = info.lastModified().toMSecsSinceEpoch();
    return status;
}
