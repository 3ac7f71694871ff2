#include "folder_walk.h"

#include "folder_listing.h"
#include "name_filters.h"
#include "name_order.h"

#include <algorithm>

namespace {

struct SortedEntry {
    QString key;
    FolderEntry entry;
};

}  // namespace

// Sorting each folder on its own keeps the keys short and the sorts small:
// the cost per file stays flat however many folders the tree has.
void appendImageFiles(const QString& folder, const QStringList& nameFilters, QStringList& files)
{
    std::vector<SortedEntry> entries;
    for (FolderEntry& entry : listFolder(folder)) {
        if (entry.isFolder || matchesNameFilters(entry.name, nameFilters))
            entries.push_back({nameOrderKey(entry.name), std::move(entry)});
    }
    std::sort(entries.begin(), entries.end(), [](const SortedEntry& a, const SortedEntry& b) { return a.key < b.key; });
    for (const SortedEntry& sorted : entries) {
        const QString path = folder + QLatin1Char('/') + sorted.entry.name;
        if (sorted.entry.isFolder)
            appendImageFiles(path, nameFilters, files);
        else
            files.append(path);
    }
}
