#include "name_order.h"

#include <algorithm>

namespace {

ushort upperUnit(ushort unit)
{
    if (unit < 0x80)
        return unit >= 'a' && unit <= 'z' ? ushort(unit - ('a' - 'A')) : unit;
    const uint upper = QChar::toUpper(uint(unit));
    return upper <= 0xffff ? ushort(upper) : unit;
}

// How many units every name begins with, upper-cased.
int commonPrefix(const QChar* units, const std::vector<FolderListing::Entry>& entries)
{
    int prefix = entries.front().length;
    const QChar* first = units + entries.front().offset;
    for (const FolderListing::Entry& entry : entries) {
        const QChar* name = units + entry.offset;
        int same = 0;
        while (same < prefix && same < entry.length
               && upperUnit(name[same].unicode()) == upperUnit(first[same].unicode()))
            ++same;
        prefix = same;
    }
    return prefix;
}

// Negative, 0 or positive as the units from a to its end come before, equal
// or after those from b, each unit mapped by `map`; where one begins the
// other, the shorter first.
template <typename Map>
int compareUnits(const QChar* a, int lengthA, const QChar* b, int lengthB, Map map)
{
    const int common = std::min(lengthA, lengthB);
    for (int i = 0; i < common; ++i) {
        const ushort x = map(a[i].unicode());
        const ushort y = map(b[i].unicode());
        if (x != y)
            return x < y ? -1 : 1;
    }
    return lengthA - lengthB;
}

// The units a sort key holds: in a folder of 200,000 numbered names eight
// tell any two apart where four leave a hundred alike.
const int headUnits = 8;

struct SortKey {
    // The upper-cased units after the common prefix, the first highest, 0
    // past the name's end (a unit no name holds): most comparisons end here.
    quint64 head[headUnits / 4];
    FolderListing::Entry entry;
};

SortKey keyOf(const QChar* units, const FolderListing::Entry& entry, int skip)
{
    SortKey key{{}, entry};
    const QChar* name = units + entry.offset + skip;
    const int length = entry.length - skip;
    for (int i = 0; i < headUnits; ++i)
        key.head[i / 4] = (key.head[i / 4] << 16) | (i < length ? upperUnit(name[i].unicode()) : 0u);
    return key;
}

}  // namespace

// Names in a folder of thousands often share a long beginning, which each
// comparison would walk again: the keys start after it.
void sortByName(FolderListing& listing)
{
    std::vector<FolderListing::Entry>& entries = listing.entries;
    if (entries.size() < 2)
        return;
    const QChar* const units = listing.units.constData();
    const int skip = commonPrefix(units, entries);
    std::vector<SortKey> keys;
    keys.reserve(entries.size());
    for (const FolderListing::Entry& entry : entries)
        keys.push_back(keyOf(units, entry, skip));
    std::sort(keys.begin(), keys.end(), [units, skip](const SortKey& a, const SortKey& b) {
        if (a.head[0] != b.head[0])
            return a.head[0] < b.head[0];
        if (a.head[1] != b.head[1])
            return a.head[1] < b.head[1];
        const FolderListing::Entry& x = a.entry;
        const FolderListing::Entry& y = b.entry;
        const int byUpper = compareUnits(units + x.offset + skip, x.length - skip, units + y.offset + skip,
                                         y.length - skip, upperUnit);
        if (byUpper != 0)
            return byUpper < 0;
        return compareUnits(units + x.offset, x.length, units + y.offset, y.length, [](ushort unit) { return unit; }) < 0;
    });
    std::transform(keys.cbegin(), keys.cend(), entries.begin(), [](const SortKey& key) { return key.entry; });
}
