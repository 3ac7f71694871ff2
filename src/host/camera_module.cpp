#include "camera_module.h"

CameraModule::CameraModule(const QString& path) : m_library(path) {}

bool CameraModule::load()
{
    if (isLoaded())
        return true;
    if (!m_library.load()) {
        m_error = QStringLiteral("cannot load camera module %1: %2").arg(m_library.fileName(), m_library.errorString());
        return false;
    }
    const auto create = reinterpret_cast<CameraCreateFunction>(m_library.resolve("Camera_Create"));
    const auto destroy = reinterpret_cast<CameraDeleteFunction>(m_library.resolve("Camera_Delete"));
    if (!create || !destroy) {
        m_error = QStringLiteral("camera module %1 lacks %2: %3")
                      .arg(m_library.fileName(), QLatin1String(create ? "Camera_Delete" : "Camera_Create"),
                           m_library.errorString());
        m_library.unload();
        return false;
    }
    m_entryPoints = {create, destroy};
    m_error.clear();
    return true;
}
