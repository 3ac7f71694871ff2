#include "bench_camera.h"

BenchCamera::BenchCamera(const CameraEntryPoints& entryPoints, const QString& folder, bool preload)
    : m_host(entryPoints)
{
    m_host.params().folder = folder;
    m_host.params().preload = preload ? 1 : 0;
    m_host.params().loop = 1;
    m_host.setFrameHandler([this](ICameraObject&) { ++m_frames; });
    m_ready = m_host.create() && m_host->open() == 1 && m_host->start() == 1;
}

void BenchCamera::setHostWork(double seconds)
{
    const auto work = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    m_host.setFrameHandler([this, work](ICameraObject&) {
        ++m_frames;
        m_arrival = Clock::now();
        while (Clock::now() - m_arrival < work) {
        }
    });
}

double BenchCamera::secondsToFrame()
{
    const Clock::time_point start = Clock::now();
    m_arrival = start;
    m_host->trigger();
    return std::chrono::duration<double>(m_arrival - start).count();
}
