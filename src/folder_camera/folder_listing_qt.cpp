#include "folder_listing.h"

#include <QDir>
#include <QDirIterator>

std::vector<FolderEntry> listFolder(const QString& folder)
{
    std::vector<FolderEntry> entries;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    while (it.hasNext()) {
        it.next();
        entries.push_back({it.fileName(), it.fileInfo().isDir()});
    }
    return entries;
}
