// The viewer's one-line account of the last frame and of the run.
#ifndef STATUS_LINE_H
#define STATUS_LINE_H

#include "host_frame.h"

#include <QString>

// What the line says beside the frame's own description.
struct RunFacts {
    int files = 0;                 // the folder's image files, as the host lists them
    double framesPerSecond = 0.0;  // delivered over the last second; 0 leaves the rate out
    QString pace;  // "file times × 2"; empty without a pace from the files
    double zoom = 1.0;
    int warnings = 0;
    bool endOfFolder = false;
    bool waitingForFiles = false;  // a followed folder has been played to its last file
};

// "frame 3 of 8: sub/c.png, 320 × 240, 32 bit, RGB32 (3), 307200 bytes, 59.8 frames/s, pace: file times,
// zoom 200 %, 1 warning",
// followed by ", end of folder" once a run without wrapping has ended; "no frame yet, 0 warnings" before a frame.
QString statusLine(const HostFrame& frame, const RunFacts& facts);

// A count as the line writes it, in thousands: "1,000,000".
QString countText(int count);

#endif
