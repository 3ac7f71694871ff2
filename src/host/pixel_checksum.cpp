#include "pixel_checksum.h"

#include <array>

namespace {

std::array<std::uint32_t, 256> makeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1u) ? 0xedb88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

std::uint32_t rowsChecksum(const unsigned char* bytes, int width, int height, int bitsPerPixel,
                           std::size_t bytesPerLine)
{
    const std::size_t rowBits = std::size_t(width) * std::size_t(bitsPerPixel);
    const std::size_t fullBytes = rowBits / 8;
    const int spareBits = int(rowBits % 8);
    std::uint32_t crc = 0;
    for (int y = 0; y < height; ++y) {
        const unsigned char* line = bytes + std::size_t(y) * bytesPerLine;
        crc = crc32(line, fullBytes, crc);
        if (spareBits) {
            const unsigned char last = line[fullBytes] & static_cast<unsigned char>(0xff << (8 - spareBits));
            crc = crc32(&last, 1, crc);
        }
    }
    return crc;
}

}  // namespace

std::uint32_t crc32(const unsigned char* bytes, std::size_t count, std::uint32_t crc)
{
    static const std::array<std::uint32_t, 256> table = makeCrcTable();
    crc = ~crc;
    for (std::size_t i = 0; i < count; ++i)
        crc = table[(crc ^ bytes[i]) & 0xffu] ^ (crc >> 8);
    return ~crc;
}

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
