// The host's own look at the folder: how many files in its tree carry an
// image suffix the camera plays (BMP, JPEG, JPG, PNG, in any letter case).
// Hidden files and symbolic links are counted too, so the count is never
// below the number of files the camera lists.
#ifndef IMAGE_FILE_COUNT_H
#define IMAGE_FILE_COUNT_H

#include <QString>

int countImageFiles(const QString& folder);

#endif
