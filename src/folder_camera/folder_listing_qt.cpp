#include "folder_listing.h"

#include <QDir>
#include <QDirIterator>

void listFolder(const QString& folder, FolderListing& listing)
{
    listing.units.resize(0);
    listing.entries.clear();
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        listing.entries.push_back({listing.units.size(), name.size(), it.fileInfo().isDir()});
        listing.units.append(name);
    }
}
