// Frames per second over the last second of deliveries, or over the last
// two when they came further apart.
#ifndef FRAME_RATE_METER_H
#define FRAME_RATE_METER_H

#include <QElapsedTimer>
#include <QQueue>

class FrameRateMeter {
public:
    FrameRateMeter();

    void reset();
    void addFrame();
    // 0 until two frames have come.
    double framesPerSecond() const;

private:
    QElapsedTimer m_clock;
    QQueue<qint64> m_times;  // nanoseconds on m_clock, oldest first
};

#endif
