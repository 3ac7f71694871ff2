#include "frame_description.h"

FrameDescription describeFrame(const ICameraObject& camera)
{
    FrameDescription description;
    description.width = camera.m_width;
    description.height = camera.m_height;
    description.depth = camera.m_bitsPerPixel;
    description.pixelFormat = camera.m_pixelFormat;
    description.bytes = camera.m_imageSize;
    return description;
}
