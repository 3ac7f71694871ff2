// The host's own count of the files the camera will list for a folder: the
// folder resolved as the camera resolves it (as written, else under the
// application directory), nothing for a file-system root, which the camera
// does not scan, and only regular files that are neither hidden nor symbolic
// links and end in .bmp, .jpeg, .jpg or .png in any letter case.
#ifndef IMAGE_FILE_COUNT_H
#define IMAGE_FILE_COUNT_H

#include <QString>

int countImageFiles(const QString& folder);

#endif
