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
using Listings = std::deque<FolderListing>;

void walk(const QString& folder, const QStringList& nameFilters, FileList& files, Listings& listings,
          std::size_t depth)
{
    if (listings.size() <= depth)
        listings.resize(depth + 1);
    FolderListing& listing = listings[depth];
    listFolder(folder, listing);
    std::vector<FolderListing::Entry>& entries = listing.entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const FolderListing::Entry& entry) {
                                     return !entry.isFolder
                                         && !matchesNameFilters(listing.units.constData() + entry.offset, entry.length,
                                                                nameFilters);
                                 }),
                  entries.end());
    sortByName(listing);
    const int folderNumber = files.addFolder(folder);
    for (const FolderListing::Entry& entry : entries) {
        const QChar* name = listing.units.constData() + entry.offset;
        if (entry.isFolder)
            walk(folder + QLatin1Char('/') + QString(name, entry.length), nameFilters, files, listings, depth + 1);
        else
            files.addFile(folderNumber, name, entry.length);
    }
}

}  // namespace

// Sorting each folder on its own keeps the sorts small: the cost per file
// stays flat however many folders the tree has.
void appendImageFiles(const QString& folder, const QStringList& nameFilters, FileList& files)
{
    Listings listings;
    walk(folder, nameFilters, files, listings, 0);
}
