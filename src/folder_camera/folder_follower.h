// A folder tree followed after its scan: the files that arrive in it, taken
// once they are complete and appended to the camera's list, in name order
// among themselves. No thread: all of it happens inside the trigger that
// finds the end of the list.
#ifndef FOLDER_FOLLOWER_H
#define FOLDER_FOLLOWER_H

#include "file_index.h"
#include "file_list.h"
#include "folder_watch.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

class FolderFollower {
public:
    // Follows the tree at `root` (absolute) for the list `files`, which the
    // scan is about to fill.
    FolderFollower(const QString& root, const QStringList& nameFilters, qint64 settleMilliseconds, FileList& files);

    // The scan tells each folder before listing it (it is watched, its time
    // noted), then that it is done.
    void beforeListing(const QString& folder);
    void scanned();

    // Whether the scanned file at `index` may be played now: not when it was
    // written within the settle time, maybe still incomplete, nor when it was
    // so as the scan began and `decodedAtOpen` (preloaded). Such a file is
    // passed over and comes again, at the end, as an arrival once it is complete.
    bool mayPlay(int index, bool decodedAtOpen);

    // Appends the complete files that arrived since the last call; returns how many.
    int appendArrivals();

private:
    struct Folder {
        int number = -1;  // in the file list, once it holds a file
        qint64 modified = 0;
        // Changed so lately that a change now might leave its time as it is.
        bool recent = false;
    };
    // A file seen but not known to be complete: taken when a look at least
    // the settle time after the last finds its size and time unchanged.
    struct Candidate {
        qint64 size;
        qint64 modified;
        qint64 due;
        quint64 call;  // the call it was last looked at in
    };

    QString absolute(const QString& relativePath) const;
    bool matches(const QString& name) const;
    bool known(const QString& relativePath) const;
    void follow(const QString& relativeFolder);
    void relist(const QString& relativeFolder);
    void poll();
    void arrived(const QString& relativePath);
    void appeared(const QString& relativePath);
    void observe(const QString& relativePath);
    void settle();
    int appendReady();

    QString m_root;
    QStringList m_nameFilters;
    qint64 m_settle;
    FileList& m_files;
    int m_scannedFiles = 0;
    qint64 m_scanBegan;  // ms since the epoch, as files' times are told
    QElapsedTimer m_clock;
    qint64 m_lastPoll = 0;
    quint64 m_calls = 0;
    FolderWatch m_watch;
    FileIndex m_index;
    QHash<QString, Folder> m_folders;
    QHash<QString, Candidate> m_candidates;
    qint64 m_nextDue;
    QSet<QString> m_ready;
};

#endif
