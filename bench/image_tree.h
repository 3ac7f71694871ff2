// The large trees of row 8: many hard links to a few small images, and the
// least a walk of such a tree can cost.
#ifndef IMAGE_TREE_H
#define IMAGE_TREE_H

#include <QString>

struct TreeShape {
    int folders;
    int perFolder;
    int files() const { return folders * perFolder; }
};

// Why `shape` cannot be made under `parent`: too few free inodes or too
// little space; empty when it can, or where the system does not say.
QString roomLacking(const QString& parent, const TreeShape& shape);

// `shape.folders` folders "class_NNNNN" under `root` (none: the files in
// `root` itself), each with `shape.perFolder` names "img_NNNNNNNN.png" that
// are hard links to copies of the PNG file `image`, a copy per 60,000 links
// (ext4 allows 65,000 to a file). False when the system refuses.
bool createImageTree(const QString& root, const QString& image, const TreeShape& shape);

// The walk the module's scan must equal: Qt's iterator given the camera's
// name filters. Returns the files it found.
int filteredWalk(const QString& root);

// Every folder of the tree opened and read to its end, nothing else: no
// sort, no strings. Returns the entries seen, or -1 where the system has no
// directory calls of its own to use.
long long bareWalk(const QString& root);

#endif
