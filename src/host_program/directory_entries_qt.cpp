#include "directory_entries.h"

#include <QDirIterator>

DirectoryEntries directoryEntries(const QString& folder)
{
    DirectoryEntries listed;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        listed.entries.push_back({listed.names.size(), name.size(), it.fileInfo().isDir()});
        listed.names.append(name);
    }
    return listed;
}
