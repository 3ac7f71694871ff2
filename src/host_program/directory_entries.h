// The host programs' own reading of one folder, apart from the module's.
#ifndef DIRECTORY_ENTRIES_H
#define DIRECTORY_ENTRIES_H

#include <QString>

#include <vector>

struct DirectoryEntry {
    QString name;
    bool isFolder;
};

// The regular files and folders in `folder` that are neither hidden nor
// symbolic links, in no particular order; names the system's encoding cannot
// decode are left out, as QDirIterator leaves them out.
std::vector<DirectoryEntry> directoryEntries(const QString& folder);

#endif
