#include "file_status.h"

#include <QDir>

#include <windows.h>

namespace {

// FILETIME counts 100 ns from 1601.
constexpr qint64 unitsPerMillisecond = 10000;
constexpr qint64 millisecondsFrom1601To1970 = 11644473600000LL;

}  // namespace

FileStatus fileStatus(const QString& path)
{
    FileStatus status;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                              GetFileExInfoStandard, &data))
        return status;
    status.kind = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? FileStatus::Kind::Other
                  : (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)   ? FileStatus::Kind::Folder
                                                                         : FileStatus::Kind::File;
    status.size = (qint64(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    const qint64 units = (qint64(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    status.modified = units / unitsPerMillisecond - millisecondsFrom1601To1970;
    return status;
}
