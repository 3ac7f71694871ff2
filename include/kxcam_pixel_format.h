// The pixel format codes of the camera interface by name, and what each means
// to the folder camera and its hosts. The interface's members stay plain 32-bit
// integers; these names are for the code that reads and writes them.
#ifndef KXCAM_PIXEL_FORMAT_H
#define KXCAM_PIXEL_FORMAT_H

#include <QImage>

#include <cstdint>

// The codes of pixelFormatNames (kxcam_camera.h).
enum PixelFormatCode : std::int32_t {
    PIXEL_FORMAT_NONE = 0,
    PIXEL_FORMAT_GRAY8 = 1,
    PIXEL_FORMAT_RGB24 = 2,
    PIXEL_FORMAT_RGB32 = 3,
    PIXEL_FORMAT_GRAY16 = 4,
    PIXEL_FORMAT_RGB48 = 5,
    PIXEL_FORMAT_BGR24 = 11,
    PIXEL_FORMAT_BGR32 = 12,
};

// The bits per pixel a new camera announces for the code in the host's
// record, before its first frame. RGB48 frames come as 32-bit words, so that
// code and the ones no Qt format carries announce 0.
inline std::int32_t bitsPerPixelOfCode(std::int32_t code)
{
    switch (code) {
    case PIXEL_FORMAT_GRAY8: return 8;
    case PIXEL_FORMAT_RGB24: return 24;
    case PIXEL_FORMAT_RGB32: return 32;
    case PIXEL_FORMAT_GRAY16: return 16;
    default: return 0;
    }
}

// The Qt image formats the camera delivers, each with the code it announces.
// A code's first row is the format a host reads its bytes as: a palette
// image's raw indices are read as grey values.
struct PixelFormatOfImage {
    std::int32_t code;
    QImage::Format format;
};

static const PixelFormatOfImage pixelFormatsOfImages[] = {
    {PIXEL_FORMAT_GRAY8, QImage::Format_Grayscale8},
    {PIXEL_FORMAT_GRAY8, QImage::Format_Indexed8},
    {PIXEL_FORMAT_RGB24, QImage::Format_RGB888},
    {PIXEL_FORMAT_RGB32, QImage::Format_RGB32},
    {PIXEL_FORMAT_GRAY16, QImage::Format_RGB16},
    {PIXEL_FORMAT_RGB48, QImage::Format_ARGB32},
};

// The code a decoded image is announced with; None for every other format.
inline std::int32_t pixelFormatCodeOf(QImage::Format format)
{
    for (const PixelFormatOfImage& row : pixelFormatsOfImages) {
        if (row.format == format)
            return row.code;
    }
    return PIXEL_FORMAT_NONE;
}

// The Qt image format a host reads an announced code as; Format_Invalid for
// codes without one.
inline QImage::Format imageFormatOfCode(std::int32_t code)
{
    for (const PixelFormatOfImage& row : pixelFormatsOfImages) {
        if (row.code == code)
            return row.format;
    }
    return QImage::Format_Invalid;
}

#endif
