// The last write time as NTFS keeps it: 100 ns units since 1601.
#include "file_time.h"

#include <QDir>

#include <windows.h>

bool fileModificationTime(const QString& path, qint64& nanoseconds)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                              GetFileExInfoStandard, &data))
        return false;
    constexpr qint64 unitsFrom1601To1970 = 116444736000000000;
    const qint64 units = (qint64(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    nanoseconds = (units - unitsFrom1601To1970) * 100;
    return true;
}
