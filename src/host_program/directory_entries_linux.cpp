#include "directory_entries.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace {

// The entry's type, from the directory where it says, else from the entry
// itself without following a link: 'f' file, 'd' folder, 0 anything else.
char typeOf(DIR* dir, const dirent& entry)
{
    if (entry.d_type == DT_REG)
        return 'f';
    if (entry.d_type == DT_DIR)
        return 'd';
    struct stat status;
    if (entry.d_type != DT_UNKNOWN || ::fstatat(::dirfd(dir), entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
        return 0;
    return S_ISREG(status.st_mode) ? 'f' : (S_ISDIR(status.st_mode) ? 'd' : 0);
}

// The name; null when it does not come back as the same bytes from the
// file-name encoding.
QString nameOf(const char* name)
{
    const int length = int(std::strlen(name));
    if (std::all_of(name, name + length, [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(name, length);
    const QString decoded = QFile::decodeName(name);
    return QFile::encodeName(decoded) == QByteArray(name) ? decoded : QString();
}

}  // namespace

// readdir rather than Qt's iterator, which costs several times the listing itself.
std::vector<DirectoryEntry> directoryEntries(const QString& folder)
{
    std::vector<DirectoryEntry> entries;
    DIR* const dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return entries;
    while (const dirent* entry = ::readdir(dir)) {
        const char type = entry->d_name[0] == '.' ? 0 : typeOf(dir, *entry);
        if (type == 0)
            continue;
        QString name = nameOf(entry->d_name);
        if (!name.isNull())
            entries.push_back({std::move(name), type == 'd'});
    }
    ::closedir(dir);
    return entries;
}
