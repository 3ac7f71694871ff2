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

bool bmpMayLeavePixelsUndefined(const uchar* h, qint64 available, qint64 fileSize)
{
    if (available < 18)
        return true;
    const quint32 pixelOffset = le32(h + 10);
    const quint32 infoSize = le32(h + 14);
    const bool os2v1 = infoSize == 12;
    if (available < (os2v1 ? 26 : 50))
        return true;
    const qint64 width = os2v1 ? le16(h + 18) : qint32(le32(h + 18));
    const qint64 height = os2v1 ? le16(h + 20) : qAbs(qint64(qint32(le32(h + 22))));
    const int bitCount = le16(h + (os2v1 ? 24 : 28));
    const quint32 compression = os2v1 ? 0 : le32(h + 30);
    // Run-length codes may skip pixels or end early; other compressions Qt refuses.
    if (compression != 0 && compression != 3 && compression != 6)
        return true;
    const quint32 usedColours = os2v1 ? 0 : le32(h + 46);
    const qint64 colours = bitCount <= 8 ? (usedColours ? usedColours : 1u << bitCount) : 0;
    const qint64 masks = infoSize == 40 ? (compression == 3 ? 12 : compression == 6 ? 16 : 0) : 0;
    // The reader takes the pixels from after the palette it read when that lies past the stated offset.
    const qint64 pixelStart = std::max<qint64>(pixelOffset, 14 + qint64(infoSize) + colours * (os2v1 ? 3 : 4) + masks);
    const qint64 rowBytes = (width * bitCount + 31) / 32 * 4;
    if (rowBytes <= 0 || height > (std::numeric_limits<qint64>::max() - pixelStart) / rowBytes)
        return true;
    return fileSize < pixelStart + rowBytes * height;
}

bool pngMayLeavePixelsUndefined(const uchar* h, qint64 available)
{
    if (available < 26)
        return true;
    const int bitDepth = h[24];
    const int colourType = h[25];
    return bitDepth == 16 && colourType == 2;
}

void clearAllBytes(QImage& image)
{
    if (!image.isNull())
        std::memset(image.bits(), 0, static_cast<std::size_t>(image.bytesPerLine()) * image.height());
}

}  // namespace

bool CFrameDecoder::mayLeavePixelsUndefined(QIODevice& file)
{
    uchar h[headerBytes];
    const qint64 available = file.peek(reinterpret_cast<char*>(h), headerBytes);
    if (available >= 2 && h[0] == 'B' && h[1] == 'M')
        return bmpMayLeavePixelsUndefined(h, available, file.size());
    if (available >= 4 && std::memcmp(h, "\x89PNG", 4) == 0)
        return pngMayLeavePixelsUndefined(h, available);
    return false;
}

CFrameDecoder::CFrameDecoder(const QString& path) : m_path(path), m_reader(path)
{
    // The reader reads from the device opened here; peeking leaves it at the start.
    m_clearFirst = m_reader.device()->open(QIODevice::ReadOnly) && mayLeavePixelsUndefined(*m_reader.device());
}

CImageHeader CFrameDecoder::header()
{
    return CImageHeader(m_reader.size(), int(m_reader.imageFormat()));
}

void CFrameDecoder::decode(const QString& path, QImage& image)
{
    CFrameDecoder(path).decode(image);
}

bool CFrameDecoder::decode(QImage& image)
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

void CFrameDecoder::clearRowPadding(QImage& image)
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
