// The host's own list of the files the camera plays for a folder, in the
// order it plays them: the folder resolved as the camera resolves it (as
// written, else under the application directory), nothing for a file-system
// root, which the camera does not scan, and only regular files that are
// neither hidden nor symbolic links, outside hidden folders, ending in .bmp,
// .jpeg, .jpg or .png in any letter case. The order is the one Windows lists
// an NTFS folder in: names compared level by level, each by its UTF-16 units
// upper-cased one by one, a name that begins another first.
#ifndef IMAGE_FILE_LIST_H
#define IMAGE_FILE_LIST_H

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The names as each folder listed them, in one string, each folder's path
// below the root once, and where each file's name lies, in play order: a
// million files cost a few dozen megabytes and no allocation each.
class ImageFileList {
public:
    ImageFileList() = default;
    explicit ImageFileList(const QString& root) : m_root(root) {}

    int size() const { return int(m_files.size()); }
    bool isEmpty() const { return m_files.empty(); }
    // The absolute path of the folder, which each path begins with, followed by a "/".
    const QString& root() const { return m_root; }
    QString relativePath(int index) const;
    QString path(int index) const;
    QStringList paths() const;

    // A folder below the root, with its "/" ("" for the root itself); returns its number.
    int addFolder(const QString& folder);
    // Keeps `names`; returns where they begin among the names kept.
    int keepNames(const QString& names);
    // The next file: the `length` units of the kept names at `start`, in the folder numbered `folder`.
    void append(int folder, int start, int length);

private:
    struct File {
        int folder;
        int start;
        int length;
    };
    QString m_root;
    QStringList m_folders;
    QString m_names;
    std::vector<File> m_files;
};

// `listed`, when given, is told the files listed so far after each folder.
ImageFileList listImageFiles(const QString& folder, const std::function<void(int)>& listed = {});

// The absolute path of the folder the camera opens for `folder`.
QString cameraFolderPath(const QString& folder);

// paths, all below folder, in that order.
QStringList inFrameOrder(QStringList paths, const QString& folder);

#endif
