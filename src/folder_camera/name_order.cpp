#include "name_order.h"

#include <algorithm>
#include <array>
#include <utility>

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

// A sort key's head: the upper-cased units after the common prefix, the
// first highest, 0 past the name's end (a unit no name holds). Most
// comparisons end there: eight units of a byte where every unit that goes
// into a head fits in one, which tells apart the numbered names of a folder
// of 200,000, else four of two bytes.
struct SortKey {
    quint64 head;
    int entry;
};

template <int unitBits>
quint64 headOf(const QChar* name, int length, ushort& largest)
{
    quint64 head = 0;
    for (int i = 0; i < 64 / unitBits; ++i) {
        const ushort unit = i < length ? upperUnit(name[i].unicode()) : 0;
        largest = std::max(largest, unit);
        head = (head << unitBits) | unit;
    }
    return head;
}

template <int unitBits>
ushort fillHeads(const QChar* units, const std::vector<FolderListing::Entry>& entries, int skip,
                 std::vector<SortKey>& keys)
{
    ushort largest = 0;
    keys.clear();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const FolderListing::Entry& entry = entries[i];
        keys.push_back({headOf<unitBits>(units + entry.offset + skip, entry.length - skip, largest), int(i)});
    }
    return largest;
}

// Sorts by head alone: least significant byte first, a byte that every key
// shares passed over. A pass is linear in the keys, where comparisons grow
// with the logarithm of their number: for large folders only.
void sortByHead(std::vector<SortKey>& keys)
{
    const int bytes = int(sizeof(quint64));
    std::vector<std::array<std::size_t, 256>> counts(bytes);
    for (const SortKey& key : keys) {
        for (int b = 0; b < bytes; ++b)
            ++counts[b][(key.head >> (8 * b)) & 0xff];
    }
    std::vector<SortKey> spare(keys.size());
    for (int b = 0; b < bytes; ++b) {
        std::array<std::size_t, 256>& count = counts[b];
        if (count[(keys.front().head >> (8 * b)) & 0xff] == keys.size())
            continue;
        std::size_t start = 0;
        for (std::size_t& c : count)
            start += std::exchange(c, start);
        for (const SortKey& key : keys)
            spare[count[(key.head >> (8 * b)) & 0xff]++] = key;
        keys.swap(spare);
    }
}

const std::size_t leastKeysForRadix = 256;

}  // namespace

// Names in a folder of thousands often share a long beginning, which each
// comparison would walk again: the keys start after it.
void sortByName(const FolderListing& listing, std::vector<int>& order)
{
    const std::vector<FolderListing::Entry>& entries = listing.entries;
    const QChar* const units = listing.units.constData();
    const int skip = entries.empty() ? 0 : commonPrefix(units, entries);
    std::vector<SortKey> keys;
    keys.reserve(entries.size());
    if (fillHeads<8>(units, entries, skip, keys) > 0xff)
        fillHeads<16>(units, entries, skip, keys);
    const auto before = [units, skip, &entries](const SortKey& a, const SortKey& b) {
        if (a.head != b.head)
            return a.head < b.head;
        const FolderListing::Entry& x = entries[std::size_t(a.entry)];
        const FolderListing::Entry& y = entries[std::size_t(b.entry)];
        const int byUpper = compareUnits(units + x.offset + skip, x.length - skip, units + y.offset + skip,
                                         y.length - skip, upperUnit);
        if (byUpper != 0)
            return byUpper < 0;
        return compareUnits(units + x.offset, x.length, units + y.offset, y.length, [](ushort unit) { return unit; }) < 0;
    };
    if (keys.size() < leastKeysForRadix) {
        std::sort(keys.begin(), keys.end(), before);
    } else {
        sortByHead(keys);
        // Then the names whose heads tie, compared in full.
        for (auto run = keys.begin(); run != keys.end();) {
            const auto end = std::find_if(run + 1, keys.end(), [run](const SortKey& key) { return key.head != run->head; });
            std::sort(run, end, before);
            run = end;
        }
    }
    order.resize(keys.size());
    std::transform(keys.cbegin(), keys.cend(), order.begin(), [](const SortKey& key) { return key.entry; });
}
