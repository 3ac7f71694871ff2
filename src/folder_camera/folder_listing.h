// The platform seam of the scan: what one folder holds.
#ifndef FOLDER_LISTING_H
#define FOLDER_LISTING_H

#include <QString>

#include <vector>

// One folder's entries, their names one after another in one string: a
// folder of thousands of files costs a few allocations, not one a name.
struct FolderListing {
    struct Entry {
        int offset;  // of the name's first unit in `units`
        int length;
        bool isFolder;
    };
    QString units;
    std::vector<Entry> entries;
};

// Fills `listing` with the regular files and folders in `folder`, in no
// particular order. Left out, as Qt's directory iterator leaves them out with
// QDir::NoSymLinks and without QDir::Hidden and QDir::System: hidden entries,
// symbolic links, pipes, sockets and devices, and names the system's encoding
// cannot decode. Nothing for a folder that cannot be read.
void listFolder(const QString& folder, FolderListing& listing);

#endif
