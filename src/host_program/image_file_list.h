// The host's own list of the files the camera plays for a folder, in the
// order it plays them: the folder resolved as the camera resolves it (as
// written, else under the application directory), nothing for a file-system
// root, which the camera does not scan, and only regular files that are
// neither hidden nor symbolic links, outside hidden folders, ending in .bmp,
// .jpeg, .jpg or .png in any letter case. The order is the one Windows lists
// an NTFS folder in: names compared level by level, each by its UTF-16 units
// upper-cased one by one, a name that begins another first.
#ifndef IMAGE_FILE_LIST_H
#define IMAGE_FILE_LIST_H

#include <QString>
#include <QStringList>

QStringList listImageFiles(const QString& folder);

// The absolute path of the folder the camera opens for `folder`, which each
// listed path begins with, followed by a "/".
QString cameraFolderPath(const QString& folder);

// paths, all below folder, in that order.
QStringList inFrameOrder(QStringList paths, const QString& folder);

#endif
