#include "directory_entries.h"

#include <QDirIterator>

std::vector<DirectoryEntry> directoryEntries(const QString& folder)
{
    std::vector<DirectoryEntry> entries;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    while (it.hasNext()) {
        it.next();
        entries.push_back({it.fileName(), it.fileInfo().isDir()});
    }
    return entries;
}
