#include "pixel_inspector.h"

#include "kxcam_pixel_format.h"

#include <QRect>
#include <QStringList>

namespace {

constexpr bool littleEndian = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;

// Names of a pixel's bytes in memory order. Qt keeps 32-bit pixels as native
// 0xAARRGGBB words and 16-bit ones as native words.
QStringList byteNames(int pixelFormat)
{
    switch (pixelFormat) {
    case PIXEL_FORMAT_GRAY8: return {QStringLiteral("value")};
    case PIXEL_FORMAT_RGB24: return {QStringLiteral("R"), QStringLiteral("G"), QStringLiteral("B")};
    case PIXEL_FORMAT_RGB32:
        return littleEndian ? QStringList{QStringLiteral("B"), QStringLiteral("G"), QStringLiteral("R"), QStringLiteral("X")}
                            : QStringList{QStringLiteral("X"), QStringLiteral("R"), QStringLiteral("G"), QStringLiteral("B")};
    case PIXEL_FORMAT_GRAY16:
        return littleEndian ? QStringList{QStringLiteral("low"), QStringLiteral("high")}
                            : QStringList{QStringLiteral("high"), QStringLiteral("low")};
    case PIXEL_FORMAT_RGB48:
        return littleEndian ? QStringList{QStringLiteral("B"), QStringLiteral("G"), QStringLiteral("R"), QStringLiteral("A")}
                            : QStringList{QStringLiteral("A"), QStringLiteral("R"), QStringLiteral("G"), QStringLiteral("B")};
    default: return {};
    }
}

}  // namespace

QString pixelDescription(const QImage& frame, int pixelFormat, const QPoint& pixel)
{
    const QStringList names = byteNames(pixelFormat);
    if (frame.isNull() || names.isEmpty() || !frame.rect().contains(pixel))
        return QString();
    const uchar* bytes = frame.constScanLine(pixel.y()) + pixel.x() * (frame.depth() / 8);
    QStringList values;
    for (int i = 0; i < names.size(); ++i)
        values.append(QStringLiteral("%1 %2").arg(names.at(i)).arg(bytes[i]));
    return QStringLiteral("x %1, y %2: %3").arg(pixel.x()).arg(pixel.y()).arg(values.join(QStringLiteral(", ")));
}

QString rawPixelDescription(const FrameDescription& frame, const QByteArray& bytes, const QPoint& pixel)
{
    if (frame.height <= 0 || frame.depth <= 0 || !QRect(0, 0, frame.width, frame.height).contains(pixel))
        return QString();
    const qint64 row = qint64(pixel.y()) * (frame.bytes / frame.height);
    const qint64 first = row + qint64(pixel.x()) * frame.depth / 8;
    const qint64 last = row + (qint64(pixel.x() + 1) * frame.depth - 1) / 8;
    if (last >= bytes.size())
        return QString();
    QStringList values;
    for (qint64 i = first; i <= last; ++i)
        values.append(QStringLiteral("%1").arg(uchar(bytes.at(int(i))), 2, 16, QLatin1Char('0')));
    return QStringLiteral("x %1, y %2: bytes %3").arg(pixel.x()).arg(pixel.y()).arg(values.join(QLatin1Char(' ')));
}
