#include "frame_decoder.h"

#include <QImageReader>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// Enough for a BMP file header with the colour count of its info header, and for a PNG's IHDR.
constexpr int headerBytes = 50;

quint32 le32(const uchar* bytes)
{
    return qFromLittleEndian<quint32>(bytes);
}

quint16 le16(const uchar* bytes)
{
    return qFromLittleEndian<quint16>(bytes);
}

// Byte offsets from the start of a BMP file of the fields read here, and
// their values, named as Windows names them: BITMAPFILEHEADER, then
// BITMAPINFOHEADER (or a longer header that begins like it) or OS/2's
// BITMAPCOREHEADER.
constexpr int BMP_FILEHDR_SIZE = 14, bfOffBits = 10, biSize = 14;
constexpr int biWidth = 18, biHeight = 22, biBitCount = 28, biCompression = 30, biClrUsed = 46;
constexpr int bcWidth = 18, bcHeight = 20, bcBitCount = 24;
constexpr quint32 BMP_COREHDR_SIZE = 12, BMP_INFOHDR_SIZE = 40;
constexpr quint32 BI_RGB = 0, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;

bool bmpMayLeavePixelsUndefined(const uchar* h, qint64 available, qint64 fileSize)
{
    if (available < BMP_FILEHDR_SIZE + 4)
        return true;
    const quint32 pixelOffset = le32(h + bfOffBits);
    const quint32 infoSize = le32(h + biSize);
    const bool core = infoSize == BMP_COREHDR_SIZE;
    if (available < (core ? bcBitCount + 2 : biClrUsed + 4))
        return true;
    const qint64 width = core ? le16(h + bcWidth) : qint32(le32(h + biWidth));
    const qint64 height = core ? le16(h + bcHeight) : qAbs(qint64(qint32(le32(h + biHeight))));
    const int bitCount = le16(h + (core ? bcBitCount : biBitCount));
    const quint32 compression = core ? BI_RGB : le32(h + biCompression);
    // Run-length codes may skip pixels or end early; other compressions Qt refuses.
    if (compression != BI_RGB && compression != BI_BITFIELDS && compression != BI_ALPHABITFIELDS)
        return true;
    const quint32 usedColours = core ? 0 : le32(h + biClrUsed);
    const qint64 colours = bitCount <= 8 ? (usedColours ? usedColours : 1u << bitCount) : 0;
    // Only the plain info header has its colour masks after it rather than inside.
    const qint64 masks = infoSize == BMP_INFOHDR_SIZE
                             ? (compression == BI_BITFIELDS ? 12 : compression == BI_ALPHABITFIELDS ? 16 : 0)
                             : 0;
    // The reader takes the pixels from after the palette it read when that lies past the stated offset.
    const qint64 paletteEntryBytes = core ? 3 : 4;
    const qint64 pixelStart =
        std::max<qint64>(pixelOffset, BMP_FILEHDR_SIZE + qint64(infoSize) + colours * paletteEntryBytes + masks);
    const qint64 rowBytes = (width * bitCount + 31) / 32 * 4;
    if (rowBytes <= 0 || height > (std::numeric_limits<qint64>::max() - pixelStart) / rowBytes)
        return true;
    return fileSize < pixelStart + rowBytes * height;
}

// Byte offsets of the IHDR chunk's fields, which come first in a PNG file:
// after the signature, the chunk's length and type, width and height.
constexpr int ihdrBitDepth = 24, ihdrColourType = 25;
constexpr int PNG_COLOUR_TYPE_RGB = 2;

bool pngMayLeavePixelsUndefined(const uchar* h, qint64 available)
{
    if (available < ihdrColourType + 1)
        return true;
    return h[ihdrBitDepth] == 16 && h[ihdrColourType] == PNG_COLOUR_TYPE_RGB;
}

void clearAllBytes(QImage& image)
{
    if (!image.isNull())
        std::memset(image.bits(), 0, static_cast<std::size_t>(image.bytesPerLine()) * image.height());
}

}  // namespace

bool FrameDecoder::mayLeavePixelsUndefined(QIODevice& file)
{
    uchar h[headerBytes];
    const qint64 available = file.peek(reinterpret_cast<char*>(h), headerBytes);
    if (available >= 2 && h[0] == 'B' && h[1] == 'M')
        return bmpMayLeavePixelsUndefined(h, available, file.size());
    if (available >= 4 && std::memcmp(h, "\x89PNG", 4) == 0)
        return pngMayLeavePixelsUndefined(h, available);
    return false;
}

FrameDecoder::FrameDecoder(const QString& path) : m_path(path), m_reader(path)
{
    // The reader reads from the device opened here; peeking leaves it at the start.
    m_clearFirst = m_reader.device()->open(QIODevice::ReadOnly) && mayLeavePixelsUndefined(*m_reader.device());
}

ImageHeader FrameDecoder::header()
{
    return ImageHeader(m_reader.size(), int(m_reader.imageFormat()));
}

void FrameDecoder::decode(const QString& path, QImage& image)
{
    FrameDecoder(path).decode(image);
}

bool FrameDecoder::decode(QImage& image)
{
    // Qt's readers decode in place into an image of the same size and format, else into a new one.
    if (m_clearFirst)
        clearAllBytes(image);
    const QSize size = image.size();
    const QImage::Format format = image.format();
    if (!m_reader.read(&image)) {
        image = QImage();
        return false;
    }
    if (m_clearFirst && (image.size() != size || image.format() != format)) {
        // Decoded into a new buffer: now of the file's size and format, cleared, and decoded into again.
        clearAllBytes(image);
        if (!QImageReader(m_path).read(&image)) {
            image = QImage();
            return false;
        }
    }
    clearRowPadding(image);
    return true;
}

void FrameDecoder::clearRowPadding(QImage& image)
{
    const qint64 rowBits = qint64(image.width()) * image.depth();
    const int fullBytes = static_cast<int>(rowBits / 8);
    const int spareBits = static_cast<int>(rowBits % 8);
    const int usedBytes = fullBytes + (spareBits ? 1 : 0);
    const int padding = image.bytesPerLine() - usedBytes;
    if (padding == 0 && spareBits == 0)
        return;
    // Bits of the last byte past the last pixel: low bits, except in the one least-significant-bit-first format,
    // which Qt's XBM reader gives; readers go by content, so an XBM file named .png comes here.
    const uchar keep = image.format() == QImage::Format_MonoLSB ? uchar(0xff >> (8 - spareBits))
                                                                : uchar(0xff << (8 - spareBits));
    for (int y = 0; y < image.height(); ++y) {
        uchar* line = image.scanLine(y);
        if (spareBits)
            line[fullBytes] &= keep;
        std::memset(line + usedBytes, 0, static_cast<std::size_t>(padding));
    }
}
