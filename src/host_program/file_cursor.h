// Which of a folder's image files the camera's next trigger takes, and when
// the folder has ended. The camera says neither, so a host follows it through
// the same list, in the same steps, and tells the end from what each trigger
// leaves behind.
#ifndef FILE_CURSOR_H
#define FILE_CURSOR_H

#include "image_file_list.h"

#include <QString>

class FileCursor {
public:
    FileCursor() = default;
    explicit FileCursor(ImageFileList files) : m_files(std::move(files)) {}

    // Steps as the camera's trigger steps: the next file, the first again
    // after the last when it loops; past the last without looping it stays
    // and answers -1.
    int step(bool loop);
    // The file the camera took last; -1 before its first trigger.
    int position() const { return m_position; }
    int size() const { return m_files.size(); }
    const ImageFileList& list() const { return m_files; }
    QString path(int position) const { return m_files.path(position); }
    QString relativePath(int position) const { return m_files.relativePath(position); }

    // Takes note of a trigger's outcome; true when nothing more will come.
    // Without looping, the trigger past the last file delivers no frame and
    // writes no warning (an undecodable file writes one). More frameless
    // triggers in a row than the folder has image files mean the same,
    // looping or not: an empty folder, or nothing left that decodes.
    bool ended(bool delivered, bool warned, bool loop);

private:
    ImageFileList m_files;
    int m_position = -1;
    int m_framelessInARow = 0;
};

#endif
