#include "recording_camera.h"

#include "test_module.h"

RecordingCamera::RecordingCamera(const QString& folder, bool preload, bool loop) : HostCamera(testEntryPoints())
{
    params().folder = folder;
    params().preload = preload ? 1 : 0;
    params().loop = loop ? 1 : 0;
    setFrameHandler([this](ICameraObject& camera) {
        frames.append(captureFrame(camera));
        if (duringFrame)
            duringFrame(camera);
    });
    create();
}

QList<DeliveredFrame> RecordingCamera::triggerTimes(int count)
{
    const int before = frames.size();
    for (int i = 0; i < count; ++i)
        camera()->trigger();
    return frames.mid(before);
}
