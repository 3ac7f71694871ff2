// A folder camera of the loaded module, opened and started on one folder,
// whose host does nothing with a frame but count it.
#ifndef BENCH_CAMERA_H
#define BENCH_CAMERA_H

#include "host_camera.h"

class BenchCamera {
public:
    BenchCamera(const CameraEntryPoints& entryPoints, const QString& folder, bool preload);

    bool isReady() const { return m_ready; }
    void trigger() { m_host->trigger(); }
    int open() { return m_host->open(); }
    long long frames() const { return m_frames; }

private:
    HostCamera m_host;
    long long m_frames = 0;
    bool m_ready = false;
};

#endif
