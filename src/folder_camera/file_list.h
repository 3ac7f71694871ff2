// The camera's frames: the image files of a folder tree in frame order.
#ifndef FILE_LIST_H
#define FILE_LIST_H

#include <QChar>
#include <QString>
#include <QStringList>

#include <memory>

// Held as each folder's path once, every file's name in one buffer, about a
// byte a unit of the name, and where each file's name lies; a file's full
// path is made when it is asked for, which is nothing next to a decode. One
// pointer, null while the list is empty.
class FileList {
public:
    FileList();
    ~FileList();
    FileList(FileList&& other) noexcept;
    FileList& operator=(FileList&& other) noexcept;

    bool isEmpty() const { return size() == 0; }
    int size() const;
    // The folder's path, "/", and the file's name.
    QString path(int index) const;
    // The path below the first folder added, the one the list was made of.
    QString relativePath(int index) const;
    QStringList paths() const;
    // The number of the folder the file lies in, and its name.
    int folder(int index) const;
    QString name(int index) const;
    int folderCount() const;
    QString folderPath(int folder) const;

    // Files added next are in the folder at `path`; returns its number.
    int addFolder(const QString& path);
    // Keeps a name for the files added later; returns what addFile takes.
    // Names kept in the order a folder lists them are read front to back,
    // however the files are then ordered.
    int addName(const QChar* name, int length);
    // The next file: the kept name `name` in the folder numbered `folder`.
    void addFile(int folder, int name);
    // Gives back the room that adding left over.
    void squeeze();

private:
    struct Lists;
    std::unique_ptr<Lists> m_lists;
};

#endif
