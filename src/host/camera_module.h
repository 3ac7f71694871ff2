// A camera back-end module loaded as a host loads it: by path, with its two
// exports resolved by name.
#ifndef CAMERA_MODULE_H
#define CAMERA_MODULE_H

#include "kxcam_camera.h"

#include <QLibrary>
#include <QString>

// The factory and destroy function of one camera module.
struct CameraEntryPoints {
    CameraCreateFunction create = nullptr;
    CameraDeleteFunction destroy = nullptr;
};

class CameraModule {
public:
    explicit CameraModule(const QString& path);

    // False when the file is missing, cannot be loaded or lacks an export; errorString() then says why.
    bool load();
    bool isLoaded() const { return m_entryPoints.create && m_entryPoints.destroy; }
    QString errorString() const { return m_error; }
    // The path as given, which is the file loaded.
    QString path() const { return m_path; }
    const CameraEntryPoints& entryPoints() const { return m_entryPoints; }

private:
    QString m_path;
    QLibrary m_library;
    QString m_error;
    CameraEntryPoints m_entryPoints;
};

#endif
