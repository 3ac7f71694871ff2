// One of the module's platform seams: what the system says has changed in a
// folder tree, asked without waiting.
#ifndef FOLDER_WATCH_H
#define FOLDER_WATCH_H

#include <QString>
#include <QStringList>

#include <memory>

class FolderWatch {
public:
    // Paths relative to the watched root, "/"-separated.
    struct Changes {
        // Files closed after writing, or moved in: complete now.
        QStringList complete;
        // Files and folders added or changed, complete or not, as far as the
        // system tells: their folders must be listed again.
        QStringList touched;
        // Folders, and files never written under their name (hard links),
        // that appeared: each to be looked at alone.
        QStringList appeared;
        // Notifications were lost: every folder must be looked at again.
        bool lost = false;
    };

    // Starts watching the tree at `root`, where the system watches whole trees.
    explicit FolderWatch(const QString& root);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Watches the folder at `relativePath` ("" for the root), called before
    // it is listed, so that nothing arriving after its listing goes unsaid.
    void add(const QString& relativePath);
    // Whether the system reports changes. False from the start where it
    // cannot, and from the moment it no longer can (its limit on watches
    // reached, its queue broken): the tree's folders must then be polled.
    bool active() const;
    // Appends what the system has reported since the last call; returns at once.
    void collect(Changes& changes);

private:
    struct System;
    std::unique_ptr<System> m_system;
};

#endif
