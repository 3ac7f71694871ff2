#include "saved_frame.h"

#include "kxcam_pixel_format.h"
#include "png_file.h"

#include <QDir>
#include <QFile>

QString savedFrameName(int number)
{
    return QStringLiteral("frame_%1.png").arg(number, 6, 10, QLatin1Char('0'));
}

QString saveFrame(const FrameDescription& frame, const uchar* bytes, const QString& folder, int number,
                  QString& error)
{
    const QImage::Format format = imageFormatOfCode(frame.pixelFormat);
    const int bytesPerRow = frame.height > 0 ? frame.bytes / frame.height : 0;
    if (format != QImage::Format_Invalid) {
        const QString path = QDir(folder).filePath(savedFrameName(number));
        const QImage image(bytes, frame.width, frame.height, bytesPerRow, format);
        return writePngFile(image, path, error) ? path : QString();
    }
    const QString path = QDir(folder).filePath(QStringLiteral("frame_%1_%2x%3_%4bit_%5bpr.raw")
                                                   .arg(number, 6, 10, QLatin1Char('0'))
                                                   .arg(frame.width)
                                                   .arg(frame.height)
                                                   .arg(frame.depth)
                                                   .arg(bytesPerRow));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(reinterpret_cast<const char*>(bytes), frame.bytes) == frame.bytes
        && file.flush())
        return path;
    error = file.errorString();
    return QString();
}
