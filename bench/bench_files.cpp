#include "bench_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <filesystem>
#include <system_error>

const char* const frameFileKinds[3] = {"PNG", "JPEG", "BMP"};

QString frameLabel(const QSize& size, bool colour, const char* kind)
{
    return QStringLiteral("%1x%2 %3 %4").arg(size.width()).arg(size.height()).arg(colour ? "colour" : "grey", kind);
}

QString frameBaseName(const QSize& size, const char* kind)
{
    return QStringLiteral("%1x%2-%3").arg(size.width()).arg(size.height()).arg(suffixOf(kind));
}

QString suffixOf(const char* kind)
{
    return QString::fromLatin1(kind).toLower();
}

QImage patternImage(int width, int height, bool colour)
{
    QImage image(width, height, colour ? QImage::Format_RGB32 : QImage::Format_Grayscale8);
    std::uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int jitter = static_cast<int>(noise >> 28);
            const int level = ((x * 255 / width + y * 255 / height) / 2 + jitter) & 0xff;
            if (colour) {
                reinterpret_cast<QRgb*>(line)[x] = qRgb(level, (level + x / 8) & 0xff, (255 - level + y / 8) & 0xff);
            } else {
                line[x] = static_cast<uchar>(level);
            }
        }
    }
    return image;
}

bool writeImage(const QImage& image, const QString& path, const char* format)
{
    return image.save(path, format, qstrcmp(format, "JPEG") == 0 ? 90 : -1);
}

QStringList replicate(const QString& source, const QString& folder, int count)
{
    QDir().mkpath(folder);
    const QString suffix = QFileInfo(source).suffix();
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("%1/frame%2.%3").arg(folder).arg(i, 6, 10, QLatin1Char('0')).arg(suffix);
        std::error_code error;
        std::filesystem::create_hard_link(source.toStdString(), path.toStdString(), error);
        if (error && !QFile::copy(source, path))
            return {};
        paths.append(path);
    }
    return paths;
}

bool createDummyTree(const QString& root, int count, int perFolder)
{
    static const char* const suffixes[] = {"png", "JPG", "bmp", "jpeg", "PNG", "Jpg"};
    for (int i = 0; i < count; ++i) {
        const QString folder = QStringLiteral("%1/d%2").arg(root).arg(i / perFolder, 4, 10, QLatin1Char('0'));
        if (i % perFolder == 0 && !QDir().mkpath(folder))
            return false;
        QFile file(QStringLiteral("%1/f%2.%3").arg(folder).arg(i, 6, 10, QLatin1Char('0')).arg(QLatin1String(suffixes[i % 6])));
        if (!file.open(QIODevice::WriteOnly) || file.write("x", 1) != 1)
            return false;
    }
    return true;
}
