// The lines kxcam-play writes on stdout: one per delivered frame and a summary,
// as plain text or as one JSON object per line.
#ifndef FRAME_REPORT_H
#define FRAME_REPORT_H

#include "trigger_record.h"

#include <QByteArray>

struct RunSummary {
    int frames = 0;
    int triggersWithoutFrame = 0;
    int warnings = 0;                    // every warning of the run
    int warningsBeforeFirstTrigger = 0;  // of those, up to the camera's start (a preload decodes then)
    double openSeconds = 0.0;       // the camera's open
    double frameSpanSeconds = 0.0;  // from the presentation of the first delivered frame to the last's
    qint64 bytes = 0;
    int saved = -1;  // frames written by --save; -1 without it
    double triggerSeconds = 0.0;  // inside the camera's trigger, the host's callback left out
    bool interrupted = false;
    bool paced = false;
    int lateTriggers = 0;  // presented later than their time in a paced run
    double largestLagSeconds = 0.0;

    // Over the frame span, counted in intervals between frames, so the first frame adds none.
    double framesPerSecond() const;
    double megabytesPerSecond() const;  // 10^6 bytes, at the frames' mean size
    double triggerSecondsPerFrame() const;
};

// Each line ends with a newline. The camera line shows the bits per pixel the
// camera announces before its first frame, seeded from the pixel format; in
// JSON it also names the program, its version and the record format. A
// trigger's line is a frame line in text, empty for a trigger without a
// frame, and in JSON a record of every trigger.
QByteArray cameraLine(int bitsPerPixel, int pixelFormat, bool json);
QByteArray triggerLine(const TriggerRecord& trigger, bool json);
QByteArray summaryLine(const RunSummary& summary, bool json);

#endif
