#include "file_index.h"

#include <QHash>

#include <algorithm>

namespace {

const int emptySlot = -1;

}  // namespace

std::size_t FileIndex::hashOf(int folder, const QString& name)
{
    return qHash(name, uint(folder));
}

bool FileIndex::contains(const FileList& files, int folder, const QString& name) const
{
    if (m_slots.empty())
        return false;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hashOf(folder, name) & mask; m_slots[slot] != emptySlot; slot = (slot + 1) & mask) {
        const int index = m_slots[slot];
        if (files.folder(index) == folder && files.name(index) == name)
            return true;
    }
    return false;
}

void FileIndex::add(const FileList& files, int index)
{
    if (2 * (m_count + 1) > m_slots.size())
        grow(files);
    place(hashOf(files.folder(index), files.name(index)), index);
    ++m_count;
}

void FileIndex::grow(const FileList& files)
{
    std::vector<int> old(std::max<std::size_t>(16, 2 * m_slots.size()), emptySlot);
    old.swap(m_slots);
    for (const int index : old) {
        if (index != emptySlot)
            place(hashOf(files.folder(index), files.name(index)), index);
    }
}

void FileIndex::place(std::size_t hash, int index)
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = hash & mask;
    while (m_slots[slot] != emptySlot)
        slot = (slot + 1) & mask;
    m_slots[slot] = index;
}
