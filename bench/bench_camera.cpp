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
