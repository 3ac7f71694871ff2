// The scan's list of frames: the image files of a folder tree in name order.
#ifndef FOLDER_WALK_H
#define FOLDER_WALK_H

#include "file_list.h"

#include <QString>
#include <QStringList>

#include <functional>

// Appends to `files` every file in `folder` and its subfolders that
// listFolder gives and whose name matches one of `nameFilters`, its path
// `folder` + "/" + its path below it. Each folder's entries come in name
// order, a subfolder's files where its name falls among its siblings.
// `listed`, when set, is told the number of files listed after each folder;
// `beforeListing`, when set, each folder's path before it is listed.
void appendImageFiles(const QString& folder, const QStringList& nameFilters, FileList& files,
                      const std::function<void(int files)>& listed = nullptr,
                      const std::function<void(const QString& folder)>& beforeListing = nullptr);

#endif
