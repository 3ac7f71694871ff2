#include "pixel_checksum.h"

#include <zlib.h>

namespace {

std::uint32_t rowsChecksum(const unsigned char* bytes, int width, int height, int bitsPerPixel,
                           std::size_t bytesPerLine)
{
    const std::size_t rowBits = std::size_t(width) * std::size_t(bitsPerPixel);
    const std::size_t fullBytes = rowBits / 8;
    const int spareBits = int(rowBits % 8);
    std::uint32_t crc = 0;
    for (int y = 0; y < height; ++y) {
        const unsigned char* line = bytes + std::size_t(y) * bytesPerLine;
        // A row holds at most 2 GiB, so its length fits zlib's count.
        crc = std::uint32_t(::crc32(crc, line, uInt(fullBytes)));
        if (spareBits) {
            const unsigned char last = line[fullBytes] & static_cast<unsigned char>(0xff << (8 - spareBits));
            crc = std::uint32_t(::crc32(crc, &last, 1));
        }
    }
    return crc;
}

}  // namespace

std::uint32_t pixelChecksum(const ICameraObject& camera)
{
    if (!camera.m_imageData || camera.m_width <= 0 || camera.m_height <= 0)
        return 0;
    const std::size_t bytesPerLine = std::size_t(camera.m_imageSize) / std::size_t(camera.m_height);
    return rowsChecksum(camera.m_imageData, camera.m_width, camera.m_height, camera.m_bitsPerPixel, bytesPerLine);
}

std::uint32_t pixelChecksum(const QImage& image)
{
    if (image.isNull())
        return 0;
    return rowsChecksum(image.constBits(), image.width(), image.height(), image.depth(),
                        std::size_t(image.bytesPerLine()));
}
