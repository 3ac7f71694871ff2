#include "frame_image.h"

#include "kxcam_pixel_format.h"

QImage frameView(const ICameraObject& camera)
{
    const QImage::Format format = imageFormatOfCode(camera.m_pixelFormat);
    if (format == QImage::Format_Invalid || !camera.m_imageData || camera.m_width <= 0 || camera.m_height <= 0)
        return QImage();
    const int bytesPerLine = camera.m_imageSize / camera.m_height;
    return QImage(camera.m_imageData, camera.m_width, camera.m_height, bytesPerLine, format);
}

QImage frameImage(const ICameraObject& camera)
{
    return frameView(camera).copy();
}
