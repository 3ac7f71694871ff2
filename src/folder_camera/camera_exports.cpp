// The module's two entry points, exported by their plain names.
#include "camera_virtual_folder.h"
#include "kxcam_export.h"

#include <QMessageLogger>

extern "C" KXCAM_EXPORT ICameraObject* Camera_Create(CameraParams* params, ICameraCallback* callback)
{
    QMessageLogger().debug("kxCamVirtual In");
    // Construction reads the record and every frame calls the callback, so a
    // camera without either would fail on first use inside the host.
    if (!params || !callback) {
        QMessageLogger().warning("Virtual Camera: Camera_Create needs a parameter record and a callback");
        return nullptr;
    }
    return new CCameraVirtualFolder(params, callback);
}

extern "C" KXCAM_EXPORT void Camera_Delete(ICameraObject* camera)
{
    delete camera;
}
