// The host programs' own reading of one folder, apart from the module's.
#ifndef DIRECTORY_ENTRIES_H
#define DIRECTORY_ENTRIES_H

#include <QString>

#include <vector>

// A folder's entries, their names one after another in one string: a folder
// of thousands costs a few allocations, not one a name.
struct DirectoryEntries {
    struct Entry {
        int start;  // of the name in `names`
        int length;
        bool isFolder;
    };
    QString names;
    std::vector<Entry> entries;
};

// The regular files and folders in `folder` that are neither hidden nor
// symbolic links, in no particular order; names the system's encoding cannot
// decode are left out, as QDirIterator leaves them out.
DirectoryEntries directoryEntries(const QString& folder);

#endif
