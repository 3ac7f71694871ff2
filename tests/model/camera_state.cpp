#include "camera_state.h"

#include <tuple>

namespace {

auto tied(const CameraState& s)
{
    return std::tie(s.opened, s.grabbing, s.width, s.height, s.imageSize, s.bitsPerPixel, s.pixelFormat, s.reserved,
                    s.frameCount, s.startCount, s.activeGrabMode, s.grabMode, s.imageDataNull);
}

}  // namespace

bool CameraState::operator==(const CameraState& other) const
{
    return tied(*this) == tied(other);
}

QString CameraState::toString() const
{
    return QStringLiteral("opened=%1 grabbing=%2 size=%3x%4 imageSize=%5 bpp=%6 format=%7 reserved=%8 frameCount=%9 "
                          "startCount=%10 activeGrabMode=%11 grabMode=%12 imageDataNull=%13")
        .arg(opened).arg(grabbing).arg(width).arg(height).arg(imageSize).arg(bitsPerPixel).arg(pixelFormat)
        .arg(reserved).arg(frameCount).arg(startCount).arg(activeGrabMode).arg(grabMode).arg(imageDataNull);
}

CameraState stateOf(const ICameraObject& camera)
{
    CameraState state;
    state.opened = camera.m_opened;
    state.grabbing = camera.m_grabbing;
    state.width = camera.m_width;
    state.height = camera.m_height;
    state.imageSize = camera.m_imageSize;
    state.bitsPerPixel = camera.m_bitsPerPixel;
    state.pixelFormat = camera.m_pixelFormat;
    state.reserved = camera.m_reserved;
    state.frameCount = camera.m_frameCount;
    state.startCount = camera.m_startCount;
    state.activeGrabMode = camera.m_activeGrabMode;
    state.grabMode = camera.m_grabMode;
    state.imageDataNull = camera.m_imageData == nullptr;
    return state;
}
