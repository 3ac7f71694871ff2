// The viewer's one-line account of the last frame and of the run.
#ifndef STATUS_LINE_H
#define STATUS_LINE_H

#include "host_frame.h"

#include <QString>

// "frame 3: 320 × 240, 32 bit, RGB32 (3), 307200 bytes, 59.8 frames/s, 1 warning",
// followed by ", end of folder" once a run without wrapping has ended.
QString statusLine(const HostFrame& frame, double framesPerSecond, int warnings, bool endOfFolder);

#endif
