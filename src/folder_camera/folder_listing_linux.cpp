#include "folder_listing.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

namespace {

enum class EntryKind { Other, File, Folder };

// The type the directory entry gives, and where the file system gives none,
// the entry's own (a link is not followed).
EntryKind kindOf(DIR* dir, const dirent& entry)
{
    switch (entry.d_type) {
    case DT_REG: return EntryKind::File;
    case DT_DIR: return EntryKind::Folder;
    case DT_UNKNOWN: break;
    default: return EntryKind::Other;
    }
    struct stat status;
    if (::fstatat(::dirfd(dir), entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
        return EntryKind::Other;
    if (S_ISREG(status.st_mode))
        return EntryKind::File;
    return S_ISDIR(status.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

// Qt's iterator passes over a name its file-name encoding cannot decode, and
// so does this listing: a name is kept when decoding and encoding it again
// gives its bytes back. ASCII reads as itself in every encoding Qt uses, and
// is widened without the encoding's converter, which costs most of a listing.
bool appendName(const char* name, QString& units)
{
    const std::size_t length = std::strlen(name);
    for (std::size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(name[i]) >= 0x80) {
            const QByteArray bytes(name, static_cast<int>(length));
            const QString decoded = QFile::decodeName(bytes);
            if (QFile::encodeName(decoded) != bytes)
                return false;
            units.append(decoded);
            return true;
        }
    }
    units.append(QLatin1String(name, static_cast<int>(length)));
    return true;
}

}  // namespace

// Reads the directory below Qt's file-information layer: the same entries at
// a fraction of the iterator's cost per entry.
void listFolder(const QString& folder, FolderListing& listing)
{
    // Emptied, not freed: the next folder of the level reuses the room.
    listing.units.resize(0);
    listing.entries.clear();
    DIR* const dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        // Hidden entries, "." and ".." among them.
        if (entry->d_name[0] == '.')
            continue;
        const EntryKind kind = kindOf(dir, *entry);
        const int offset = listing.units.size();
        if (kind != EntryKind::Other && appendName(entry->d_name, listing.units))
            listing.entries.push_back({offset, listing.units.size() - offset, kind == EntryKind::Folder});
    }
    ::closedir(dir);
}
