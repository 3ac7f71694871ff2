// The platform seam of the scan: what one folder holds.
#ifndef FOLDER_LISTING_H
#define FOLDER_LISTING_H

#include <QString>

#include <vector>

struct FolderEntry {
    QString name;
    bool isFolder;
};

// The regular files and folders in `folder`, in no particular order. Left out,
// as Qt's directory iterator leaves them out with QDir::NoSymLinks and
// without QDir::Hidden and QDir::System: hidden entries, symbolic links,
// pipes, sockets and devices, and names the system's encoding cannot decode.
// Nothing for a folder that cannot be read.
std::vector<FolderEntry> listFolder(const QString& folder);

#endif
