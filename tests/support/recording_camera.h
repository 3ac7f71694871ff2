// A host-held camera that records every frame it is handed.
#ifndef RECORDING_CAMERA_H
#define RECORDING_CAMERA_H

#include "delivered_frame.h"
#include "host_camera.h"

#include <functional>

class RecordingCamera : public HostCamera {
public:
    // Creates the camera on folder; the record's other fields are set first by prepare.
    explicit RecordingCamera(const QString& folder, bool preload = false, bool loop = false);

    QList<DeliveredFrame> frames;
    // Runs inside onFrame after the frame has been recorded.
    std::function<void(ICameraObject&)> duringFrame;

    // Triggers count times and returns the frames those triggers delivered.
    QList<DeliveredFrame> triggerTimes(int count);
};

#endif
