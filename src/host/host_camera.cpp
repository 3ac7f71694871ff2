#include "host_camera.h"

HostCamera::HostCamera(const CameraEntryPoints& entryPoints) : m_entryPoints(entryPoints) {}

HostCamera::~HostCamera()
{
    destroy();
}

bool HostCamera::create()
{
    destroy();
    if (!m_entryPoints.create)
        return false;
    m_camera = m_entryPoints.create(&m_params, this);
    return m_camera != nullptr;
}

void HostCamera::destroy()
{
    if (!m_camera)
        return;
    m_entryPoints.destroy(m_camera);
    m_camera = nullptr;
}

int HostCamera::onFrame(ICameraObject* camera)
{
    if (m_frameHandler)
        m_frameHandler(*camera);
    return 0;
}
