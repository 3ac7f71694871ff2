#include "image_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_WIN)
#include <windows.h>

namespace {

const wchar_t* nativePath(const QString& path)
{
    return reinterpret_cast<const wchar_t*>(path.utf16());
}

}  // namespace
#endif

ImageFolder::ImageFolder() = default;

ImageFolder::ImageFolder(const QString& parentFolder) : m_dir(parentFolder + QStringLiteral("/image-folder-XXXXXX")) {}

QString ImageFolder::prepare(const QString& relativePath)
{
    const QString full = m_dir.filePath(relativePath);
    QDir().mkpath(QFileInfo(full).absolutePath());
    return full;
}

QString ImageFolder::addImage(const QString& relativePath, const QImage& image, const char* format)
{
    const QString full = prepare(relativePath);
    if (!image.save(full, format))
        qFatal("cannot write test image %s", qPrintable(full));
    return full;
}

QString ImageFolder::addFile(const QString& relativePath, const QByteArray& bytes)
{
    const QString full = prepare(relativePath);
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(full));
    return full;
}

QString ImageFolder::addFolder(const QString& relativePath)
{
    const QString full = m_dir.filePath(relativePath);
    QDir().mkpath(full);
    return full;
}

bool ImageFolder::addSymbolicLink(const QString& target, const QString& relativeLinkPath)
{
    const QString link = prepare(relativeLinkPath);
#if defined(Q_OS_WIN)
    DWORD flags = SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
    if (QFileInfo(target).isDir())
        flags |= SYMBOLIC_LINK_FLAG_DIRECTORY;
    return CreateSymbolicLinkW(nativePath(QDir::toNativeSeparators(link)), nativePath(QDir::toNativeSeparators(target)),
                               flags);
#else
    return QFile::link(target, link);
#endif
}

#if defined(Q_OS_WIN)
void ImageFolder::hide(const QString& relativePath)
{
    const QString native = QDir::toNativeSeparators(m_dir.filePath(relativePath));
    if (!SetFileAttributesW(nativePath(native), FILE_ATTRIBUTE_HIDDEN))
        qFatal("cannot hide %s", qPrintable(native));
}
#endif

QStringList rootSpellings()
{
#if defined(Q_OS_WIN)
    return {QStringLiteral("C:/"), QStringLiteral("C:\\"), QStringLiteral("c:/")};
#else
    return {QDir::rootPath()};
#endif
}

QImage patternImage(int width, int height, QImage::Format format, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + seed * 31) & 0xff, (y * 13 + seed * 17) & 0xff, ((x + y) * 5 + seed) & 0xff));
    return image.convertToFormat(format);
}
