// A folder camera of the loaded module, opened and started on one folder,
// whose host does nothing with a frame but count it, or, once given host
// work, also notes when the frame arrived and then works on it.
#ifndef BENCH_CAMERA_H
#define BENCH_CAMERA_H

#include "host_camera.h"

#include <chrono>

class BenchCamera {
public:
    BenchCamera(const CameraEntryPoints& entryPoints, const QString& folder, bool preload);

    bool isReady() const { return m_ready; }
    void trigger() { m_host->trigger(); }
    int open() { return m_host->open(); }
    int start() { return m_host->start(); }
    long long frames() const { return m_frames; }

    // From now on the host keeps the processor busy for `seconds` inside each
    // frame's callback, as a vision pipeline does.
    void setHostWork(double seconds);
    // Triggers once; the seconds until the frame reached the callback, the
    // time the host waits for the module (needs setHostWork).
    double secondsToFrame();

private:
    using Clock = std::chrono::steady_clock;

    HostCamera m_host;
    long long m_frames = 0;
    bool m_ready = false;
    Clock::time_point m_arrival;
};

#endif
