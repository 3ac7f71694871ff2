#include "test_module.h"

#include <QtTest>

#ifdef KXCAM_TEST_IN_PROCESS
extern "C" ICameraObject* Camera_Create(CameraParams* params, ICameraCallback* callback);
extern "C" void Camera_Delete(ICameraObject* camera);

const CameraEntryPoints& testEntryPoints()
{
    static const CameraEntryPoints linked{&Camera_Create, &Camera_Delete};
    return linked;
}

bool testsRunInProcess()
{
    return true;
}
#else
const CameraEntryPoints& testEntryPoints()
{
    static CameraModule module(QStringLiteral(KXCAM_MODULE_PATH));
    if (!module.load())
        qFatal("%s", qPrintable(module.errorString()));
    return module.entryPoints();
}

bool testsRunInProcess()
{
    return false;
}
#endif
