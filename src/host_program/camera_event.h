// One debug line of the camera's logging category ("kxcam.camera") read back
// into what it says: which file a trigger took, where the list ended, how a
// scan or a preload goes. A line of another form reads as Kind::None, so a
// camera that says more than this host knows is no fault.
#ifndef CAMERA_EVENT_H
#define CAMERA_EVENT_H

#include <QMetaType>
#include <QString>

struct CameraEvent {
    enum class Kind {
        None,
        File,              // position of files: path
        EndOfList,         // files
        Waiting,           // files: a followed folder's list has ended, and nothing new has arrived
        TurnWithoutFrame,  // files
        Scanning,          // path (the folder): files so far
        Scanned,           // path (the folder): files in seconds
        Preloading,        // position of files
        Preloaded,         // position of files in seconds
    };
    Kind kind = Kind::None;
    QString path;  // File: relative to the folder, "/"-separated; Scanning, Scanned: the folder, absolute
    int position = 0;  // File: from 1; Preloading, Preloaded: the files done
    int files = 0;     // the list's length; Scanning: the files listed so far
    double seconds = 0.0;

    static const char* categoryName() { return "kxcam.camera"; }
    static CameraEvent parse(const QString& line);
};

Q_DECLARE_METATYPE(CameraEvent)

#endif
