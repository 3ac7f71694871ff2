// One camera as a host holds it: the parameter record and the callback object
// it owns, and the camera made from them by a loaded module.
#ifndef HOST_CAMERA_H
#define HOST_CAMERA_H

#include "camera_module.h"

#include <functional>

class HostCamera : private ICameraCallback {
public:
    using FrameHandler = std::function<void(ICameraObject& camera)>;

    explicit HostCamera(const CameraEntryPoints& entryPoints);
    ~HostCamera();

    HostCamera(const HostCamera&) = delete;
    HostCamera& operator=(const HostCamera&) = delete;

    // The record is read by the camera at creation; fill it first.
    CameraParams& params() { return m_params; }
    void setFrameHandler(FrameHandler handler) { m_frameHandler = std::move(handler); }

    // Creates the camera from the record; false when the module refuses.
    bool create();
    void destroy();
    ICameraObject* camera() const { return m_camera; }
    ICameraObject* operator->() const { return m_camera; }

private:
    void hostReserved() override {}
    int onFrame(ICameraObject* camera) override;

    CameraEntryPoints m_entryPoints;
    CameraParams m_params{};
    ICameraObject* m_camera = nullptr;
    FrameHandler m_frameHandler;
};

#endif
