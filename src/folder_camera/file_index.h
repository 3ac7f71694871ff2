// Which files a file list holds, looked up by folder and name: what a
// followed folder's new entries are checked against.
#ifndef FILE_INDEX_H
#define FILE_INDEX_H

#include "file_list.h"

#include <QString>

#include <vector>

// An open-addressed table of the list's file numbers, at most half full:
// four to eight bytes a file, where a set of paths would take a hundred.
class FileIndex {
public:
    bool contains(const FileList& files, int folder, const QString& name) const;
    // The file at `index` of `files`.
    void add(const FileList& files, int index);

private:
    static std::size_t hashOf(int folder, const QString& name);
    void grow(const FileList& files);
    void place(std::size_t hash, int index);

    std::vector<int> m_slots;  // file numbers; -1 where none
    std::size_t m_count = 0;
};

#endif
