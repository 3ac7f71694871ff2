#include "png_file.h"

#include <QFile>
#include <QImageWriter>

bool writePngFile(const QImage& image, const QString& path, QString& error)
{
    QImageWriter writer(path, "PNG");
    const auto file = qobject_cast<QFileDevice*>(writer.device());
    // Buffered bytes may only fail to reach the disk at the flush (a full disk).
    if (writer.write(image) && file && file->flush())
        return true;
    error = file && file->error() != QFileDevice::NoError ? file->errorString() : writer.errorString();
    return false;
}

bool checkWritableFile(const QString& path, QString& error)
{
    QFile file(path);
    const bool existed = file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        error = file.errorString();
        return false;
    }
    if (!existed)
        file.remove();
    return true;
}
