// The lines kxcam-play writes on stdout: one per delivered frame and a summary,
// as plain text or as one JSON object per line.
#ifndef FRAME_REPORT_H
#define FRAME_REPORT_H

#include <QByteArray>

#include <cstdint>

struct FrameRecord {
    int number = 0;  // 1 for the first frame this run delivered
    int width = 0;
    int height = 0;
    int depth = 0;
    int pixelFormat = 0;
    int bytes = 0;
    std::uint32_t checksum = 0;
};

struct RunSummary {
    int frames = 0;
    int triggersWithoutFrame = 0;
    int warnings = 0;
    double seconds = 0.0;
    qint64 bytes = 0;
    bool interrupted = false;

    double framesPerSecond() const;
    double megabytesPerSecond() const;  // 10^6 bytes
};

// Each line ends with a newline.
QByteArray frameLine(const FrameRecord& frame, bool json);
QByteArray summaryLine(const RunSummary& summary, bool json);

#endif
