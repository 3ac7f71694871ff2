#include "camera_module.h"

#include <QFileInfo>

CameraModule::CameraModule(const QString& path) : m_path(path), m_library(path) {}

bool CameraModule::load()
{
    if (isLoaded())
        return true;
    // QLibrary would go on to try "lib" and suffix variants of a missing file
    // and report the last of them, a name nobody gave.
    if (!QFileInfo(m_path).isFile()) {
        m_error = QStringLiteral("cannot load camera module %1: no such file").arg(m_path);
        return false;
    }
    if (!m_library.load()) {
        m_error = QStringLiteral("cannot load camera module %1: %2").arg(m_path, m_library.errorString());
        return false;
    }
    const auto create = reinterpret_cast<CameraCreateFunction>(m_library.resolve("Camera_Create"));
    const auto destroy = reinterpret_cast<CameraDeleteFunction>(m_library.resolve("Camera_Delete"));
    if (!create || !destroy) {
        m_error = QStringLiteral("%1 is not a camera module: it does not export %2")
                      .arg(m_path, QLatin1String(create ? "Camera_Delete" : "Camera_Create"));
        m_library.unload();
        return false;
    }
    m_entryPoints = {create, destroy};
    m_error.clear();
    return true;
}
