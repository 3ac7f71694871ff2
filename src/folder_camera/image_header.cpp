#include "image_header.h"

ImageHeader::ImageHeader(const QSize& size, int format)
    : m_size(size),
      m_format(format > QImage::Format_Invalid && format < QImage::NImageFormats ? QImage::Format(format)
                                                                                 : QImage::Format_Invalid)
{
}

QImage::Format ImageHeader::assumedFormat() const
{
    return m_format == QImage::Format_Invalid ? QImage::Format_ARGB32 : m_format;
}

qint64 ImageHeader::decodedBytes() const
{
    if (!isValid())
        return 0;
    const qint64 rowBits = qint64(m_size.width()) * QImage::toPixelFormat(assumedFormat()).bitsPerPixel();
    return (rowBits + 31) / 32 * 4 * m_size.height();
}

bool ImageHeader::allocatable() const
{
    // Allocated, never written: the pages are not touched.
    return !QImage(m_size, assumedFormat()).isNull();
}
