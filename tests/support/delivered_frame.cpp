#include "delivered_frame.h"

#include <QImageReader>

#include <cstring>
#include <memory>
#include <vector>

DeliveredFrame captureFrame(const ICameraObject& camera)
{
    DeliveredFrame frame;
    frame.frameCount = camera.m_frameCount;
    frame.width = camera.m_width;
    frame.height = camera.m_height;
    frame.imageSize = camera.m_imageSize;
    frame.bitsPerPixel = camera.m_bitsPerPixel;
    frame.pixelFormat = camera.m_pixelFormat;
    frame.recordWidth = camera.m_params->width;
    frame.recordHeight = camera.m_params->height;
    if (camera.m_imageData)
        frame.bytes = QByteArray(reinterpret_cast<const char*>(camera.m_imageData), camera.m_imageSize);
    return frame;
}

QByteArray imageBytes(const QImage& image)
{
    return QByteArray(reinterpret_cast<const char*>(image.constBits()), int(image.sizeInBytes()));
}

QByteArray decodedBytes(const QString& path)
{
    return imageBytes(QImage(path));
}

QByteArray definedBytes(const QString& path)
{
    const QImage decoded(path);
    if (decoded.isNull())
        return QByteArray();
    QImage zeroed(decoded.size(), decoded.format());
    std::memset(zeroed.bits(), 0, static_cast<std::size_t>(zeroed.sizeInBytes()));
    const uchar* buffer = zeroed.constBits();
    // Only a decode in place into the zeroed buffer is a reference.
    if (!QImageReader(path).read(&zeroed) || zeroed.constBits() != buffer)
        return QByteArray();
    QByteArray bytes = imageBytes(zeroed);
    const qint64 rowBits = qint64(zeroed.width()) * zeroed.depth();
    const int fullBytes = int(rowBits / 8);
    const int spareBits = int(rowBits % 8);
    const bool lsbFirst = zeroed.format() == QImage::Format_MonoLSB;
    for (int y = 0; y < zeroed.height(); ++y) {
        char* line = bytes.data() + qint64(y) * zeroed.bytesPerLine();
        int end = fullBytes;
        if (spareBits)
            line[end++] &= char(lsbFirst ? 0xff >> (8 - spareBits) : 0xff << (8 - spareBits));
        std::memset(line + end, 0, size_t(zeroed.bytesPerLine() - end));
    }
    return bytes;
}

void dirtyHeap(int bytes)
{
    if (bytes <= 0)
        return;
    std::vector<std::unique_ptr<char[]>> blocks;
    volatile char seen = 0;
    for (int i = 0; i < 8; ++i) {
        blocks.emplace_back(new char[size_t(bytes)]);
        std::memset(blocks.back().get(), 0xff, size_t(bytes));
        seen = seen + blocks.back()[bytes - 1];
    }
}

QList<QSize> frameSizes(const QList<DeliveredFrame>& frames)
{
    QList<QSize> sizes;
    for (const DeliveredFrame& frame : frames)
        sizes.append(QSize(frame.width, frame.height));
    return sizes;
}

QByteArray pixelRows(const QByteArray& bytes, int height, int width, int bitsPerPixel)
{
    if (height <= 0)
        return QByteArray();
    const int bytesPerLine = bytes.size() / height;
    const qint64 rowBits = qint64(width) * bitsPerPixel;
    const int fullBytes = int(rowBits / 8);
    const int spareBits = int(rowBits % 8);
    QByteArray rows;
    for (int y = 0; y < height; ++y) {
        const char* line = bytes.constData() + qint64(y) * bytesPerLine;
        rows.append(line, fullBytes);
        if (spareBits)
            rows.append(char(line[fullBytes] & char(0xff << (8 - spareBits))));
    }
    return rows;
}

QByteArray pixelRows(const DeliveredFrame& frame)
{
    return pixelRows(frame.bytes, frame.height, frame.width, frame.bitsPerPixel);
}

QByteArray pixelRows(const QImage& image)
{
    return pixelRows(imageBytes(image), image.height(), image.width(), image.depth());
}

int announcedPixelFormat(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32: return 3;
    case QImage::Format_RGB888: return 2;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8: return 1;
    case QImage::Format_RGB16: return 4;
    case QImage::Format_ARGB32: return 5;
    default: return 0;
    }
}
