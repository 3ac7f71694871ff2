// What the camera has said, in its log, of its folder and of the trigger
// under way: the file the trigger took, the list's length, and whether the
// folder has ended. A host hands it the camera's lines and its warnings, and
// begins each trigger with beginTrigger().
#ifndef CAMERA_REPORT_H
#define CAMERA_REPORT_H

#include "camera_event.h"

#include <QString>

class CameraReport {
public:
    void take(const CameraEvent& event);
    void takeWarning(const QString& message);
    void beginTrigger();

    // The folder the camera scans, absolute, as its last scan said; empty before one.
    const QString& folder() const { return m_folder; }
    // The list's length as the camera last said it; 0 before it has.
    int files() const { return m_files; }
    // The file the trigger under way took: its place from 0, -1 for none.
    int position() const { return m_position; }
    // Relative to the folder, and absolute; empty when the trigger took none.
    const QString& file() const { return m_file; }
    QString path() const;
    // The trigger under way found the end of the folder: past the last file
    // without looping, a whole turn without a frame, or no image files at all.
    bool folderEnded() const { return m_folderEnded; }
    // The camera follows its folder and waits for files: it said so at the
    // end of its list, and has taken no file since.
    bool waiting() const { return m_waiting; }

private:
    QString m_folder;
    int m_files = 0;
    int m_position = -1;
    QString m_file;
    bool m_folderEnded = false;
    bool m_waiting = false;
};

#endif
