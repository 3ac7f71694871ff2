#include "frame_image.h"

QImage::Format imageFormatOfCode(int pixelFormat)
{
    switch (pixelFormat) {
    case 1: return QImage::Format_Grayscale8;
    case 2: return QImage::Format_RGB888;
    case 3: return QImage::Format_RGB32;
    case 4: return QImage::Format_RGB16;
    case 5: return QImage::Format_ARGB32;
    default: return QImage::Format_Invalid;
    }
}

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
