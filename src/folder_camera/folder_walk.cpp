#include "folder_walk.h"

#include "folder_listing.h"
#include "name_filters.h"
#include "name_order.h"

#include <algorithm>
#include <deque>

namespace {

// One listing a level of the tree, reused from folder to folder, so that a
// tree of a thousand folders allocates about as often as one folder. A deque
// keeps each level in place while deeper ones are added.
struct Level {
    FolderListing listing;
    std::vector<int> names;  // each entry's name as the file list keeps it
    std::vector<int> order;
};
using Levels = std::deque<Level>;

using Listed = std::function<void(int)>;
using BeforeListing = std::function<void(const QString&)>;

void walk(const QString& folder, const QStringList& nameFilters, FileList& files, Levels& levels, std::size_t depth,
          const Listed& listed, const BeforeListing& beforeListing)
{
    if (levels.size() <= depth)
        levels.resize(depth + 1);
    Level& level = levels[depth];
    FolderListing& listing = level.listing;
    if (beforeListing)
        beforeListing(folder);
    listFolder(folder, listing);
    std::vector<FolderListing::Entry>& entries = listing.entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const FolderListing::Entry& entry) {
                                     return !entry.isFolder
                                         && !matchesNameFilters(listing.units.constData() + entry.offset, entry.length,
                                                                nameFilters);
                                 }),
                  entries.end());
    const int folderNumber = files.addFolder(folder);
    // The names go to the list in the listing's order, read front to back: in
    // name order they would be read all over a folder's listing.
    level.names.resize(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].isFolder)
            level.names[i] = files.addName(listing.units.constData() + entries[i].offset, entries[i].length);
    }
    sortByName(listing, level.order);
    for (const int i : level.order) {
        const FolderListing::Entry& entry = entries[std::size_t(i)];
        if (entry.isFolder)
            walk(folder + QLatin1Char('/') + QString(listing.units.constData() + entry.offset, entry.length),
                 nameFilters, files, levels, depth + 1, listed, beforeListing);
        else
            files.addFile(folderNumber, level.names[std::size_t(i)]);
    }
    if (listed)
        listed(files.size());
}

}  // namespace

// Sorting each folder on its own keeps the sorts small: the cost per file
// stays flat however many folders the tree has.
void appendImageFiles(const QString& folder, const QStringList& nameFilters, FileList& files,
                      const Listed& listed, const BeforeListing& beforeListing)
{
    Levels levels;
    walk(folder, nameFilters, files, levels, 0, listed, beforeListing);
}
