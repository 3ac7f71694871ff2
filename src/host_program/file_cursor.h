// Which of a folder's image files the camera's next trigger takes, and when
// the folder has ended. The camera says neither, so a host follows it through
// the same list, in the same steps, and tells the end from what each trigger
// leaves behind.
#ifndef FILE_CURSOR_H
#define FILE_CURSOR_H

#include <QString>
#include <QStringList>

class FileCursor {
public:
    FileCursor() = default;
    // files: absolute paths in frame order, all below root.
    FileCursor(const QStringList& files, const QString& root);
    // The folder's files as the camera lists them.
    static FileCursor ofFolder(const QString& folder);

    // Steps as the camera's trigger steps: the next file, the first again
    // after the last when it loops; past the last without looping it stays
    // and answers -1.
    int step(bool loop);
    // The file the camera took last; -1 before its first trigger.
    int position() const { return m_position; }
    int size() const { return m_files.size(); }
    QString path(int position) const { return m_files.at(position); }
    const QStringList& paths() const { return m_files; }
    const QString& root() const { return m_root; }
    QString relativePath(int position) const;

    // Takes note of a trigger's outcome; true when nothing more will come.
    // Without looping, the trigger past the last file delivers no frame and
    // writes no warning (an undecodable file writes one). More frameless
    // triggers in a row than the folder has image files mean the same,
    // looping or not: an empty folder, or nothing left that decodes.
    bool ended(bool delivered, bool warned, bool loop);

private:
    QStringList m_files;
    QString m_root;
    int m_position = -1;
    int m_framelessInARow = 0;
};

#endif
