// The frame order: the order in which Windows lists an NTFS folder, on every
// platform and file system.
#ifndef NAME_ORDER_H
#define NAME_ORDER_H

#include "folder_listing.h"

// Puts the listing's entries in name order: names compared by their UTF-16
// code units after mapping each unit to upper case by its simple one-to-one
// mapping (so "ß" stays, and "frame_10" comes before "frame_2"), a name that
// is the beginning of another first. Names that differ only in letter case,
// which NTFS does not allow in one folder, are then ordered by their units as
// they are. `order` gets the entries' indices in that order.
void sortByName(const FolderListing& listing, std::vector<int>& order);

#endif
