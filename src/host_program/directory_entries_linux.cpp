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

// Appends the name to `names` when it comes back as the same bytes from the
// file-name encoding; returns whether it did.
bool appendName(const char* name, QString& names)
{
    const int length = int(std::strlen(name));
    if (std::all_of(name, name + length, [](char c) { return uchar(c) < 0x80; })) {
        names.append(QLatin1String(name, length));
        return true;
    }
    const QString decoded = QFile::decodeName(name);
    if (QFile::encodeName(decoded) != QByteArray(name))
        return false;
    names.append(decoded);
    return true;
}

}  // namespace

// readdir rather than Qt's iterator, which costs several times the listing itself.
DirectoryEntries directoryEntries(const QString& folder)
{
    DirectoryEntries listed;
    DIR* const dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return listed;
    while (const dirent* entry = ::readdir(dir)) {
        const char type = entry->d_name[0] == '.' ? 0 : typeOf(dir, *entry);
        const int start = listed.names.size();
        if (type != 0 && appendName(entry->d_name, listed.names))
            listed.entries.push_back({start, listed.names.size() - start, type == 'd'});
    }
    ::closedir(dir);
    return listed;
}
