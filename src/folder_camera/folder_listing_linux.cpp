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
// is read without the encoding's converter, which costs most of a listing.
bool decodeName(const char* name, QString& decoded)
{
    const QByteArray bytes = QByteArray::fromRawData(name, static_cast<int>(std::strlen(name)));
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) >= 0x80) {
            decoded = QFile::decodeName(bytes);
            return QFile::encodeName(decoded) == bytes;
        }
    }
    decoded = QString::fromLatin1(bytes);
    return true;
}

}  // namespace

// Reads the directory below Qt's file-information layer: the same entries at
// a fraction of the iterator's cost per entry.
std::vector<FolderEntry> listFolder(const QString& folder)
{
    std::vector<FolderEntry> entries;
    DIR* const dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return entries;
    while (const dirent* entry = ::readdir(dir)) {
        // Hidden entries, "." and ".." among them.
        if (entry->d_name[0] == '.')
            continue;
        const EntryKind kind = kindOf(dir, *entry);
        QString name;
        if (kind != EntryKind::Other && decodeName(entry->d_name, name))
            entries.push_back({name, kind == EntryKind::Folder});
    }
    ::closedir(dir);
    return entries;
}
