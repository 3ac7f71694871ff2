// One of the module's platform seams: what a path names, asked without
// following a link, and cheaply: a followed folder asks at every trigger.
#ifndef FILE_STATUS_H
#define FILE_STATUS_H

#include <QString>

struct FileStatus {
    enum class Kind { Missing, File, Folder, Other };
    Kind kind = Kind::Missing;
    qint64 size = 0;
    qint64 modified = 0;  // milliseconds since 1970 UTC

    bool isFile() const { return kind == Kind::File; }
    bool isFolder() const { return kind == Kind::Folder; }
};

// A symbolic link, a pipe, a device is Other.
FileStatus fileStatus(const QString& path);

#endif
