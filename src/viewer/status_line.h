// The viewer's one-line account of the last frame and of the run.
#ifndef STATUS_LINE_H
#define STATUS_LINE_H

#include "host_frame.h"

#include <QString>

// The rates a run reached: frames delivered and frames drawn per second.
struct FrameRates {
    double delivered = 0.0;
    double drawn = 0.0;
};

// "frame 3: 320 × 240, 32 bit, RGB32 (3), 307200 bytes, 59.8 frames/s (30.1 drawn), 1 warning",
// followed by ", end of folder" once a run without wrapping has ended.
QString statusLine(const HostFrame& frame, const FrameRates& rates, int warnings, bool endOfFolder);

#endif
