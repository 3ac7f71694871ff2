#include "image_tree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <filesystem>

#if defined(__unix__)
#include <dirent.h>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace {

const int linksPerCopy = 60000;

#if defined(__unix__)
long long walkFolder(int folderFd)
{
    DIR* const dir = fdopendir(folderFd);
    if (!dir) {
        close(folderFd);
        return 0;
    }
    long long entries = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        ++entries;
        if (entry->d_type == DT_DIR) {
            const int child = openat(dirfd(dir), entry->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (child >= 0)
                entries += walkFolder(child);
        }
    }
    closedir(dir);
    return entries;
}
#endif

}  // namespace

QString roomLacking(const QString& parent, const TreeShape& shape)
{
#if defined(__unix__)
    struct statvfs room;
    if (statvfs(QFile::encodeName(parent).constData(), &room) != 0)
        return QString();
    // Links take no inode of their own; folders and copies do, and a margin
    // stays for the rest of the system.
    const double inodes = shape.folders + shape.files() / linksPerCopy + 1 + 100000.0;
    // About 40 bytes of directory entry a name, with blocks half full, and a margin.
    const double bytes = 100.0 * shape.files() + 4096.0 * shape.folders + 1e9;
    if (room.f_files > 0 && room.f_favail < inodes)
        return QStringLiteral("%1 free inodes under %2, %3 needed").arg(room.f_favail).arg(parent).arg(inodes, 0, 'f', 0);
    if (double(room.f_bavail) * room.f_frsize < bytes)
        return QStringLiteral("%1 MB free under %2, %3 MB needed")
            .arg(double(room.f_bavail) * room.f_frsize / 1e6, 0, 'f', 0)
            .arg(parent)
            .arg(bytes / 1e6, 0, 'f', 0);
#else
    Q_UNUSED(parent);
    Q_UNUSED(shape);
#endif
    return QString();
}

bool createImageTree(const QString& root, const QString& image, const TreeShape& shape)
{
    const QString copies = root + QStringLiteral("-copies");
    if (!QDir().mkpath(copies))
        return false;
    std::filesystem::path copy;
    for (int file = 0; file < shape.files(); ++file) {
        if (file % linksPerCopy == 0) {
            copy = QFile::encodeName(QStringLiteral("%1/%2.png").arg(copies).arg(file / linksPerCopy)).toStdString();
            std::error_code error;
            if (!std::filesystem::copy_file(QFile::encodeName(image).toStdString(), copy, error))
                return false;
        }
        const int folder = file / shape.perFolder;
        const QString folderPath =
            shape.folders > 1 ? QStringLiteral("%1/class_%2").arg(root).arg(folder, 5, 10, QLatin1Char('0')) : root;
        if (file % shape.perFolder == 0 && !QDir().mkpath(folderPath))
            return false;
        const QString link = QStringLiteral("%1/img_%2.png").arg(folderPath).arg(file, 8, 10, QLatin1Char('0'));
        std::error_code error;
        std::filesystem::create_hard_link(copy, QFile::encodeName(link).toStdString(), error);
        if (error)
            return false;
    }
    return true;
}

int filteredWalk(const QString& root)
{
    static const QStringList filters{QStringLiteral("*.BMP"), QStringLiteral("*.JPEG"), QStringLiteral("*.JPG"),
                                     QStringLiteral("*.PNG")};
    QStringList files;
    QDirIterator it(QDir(root).absolutePath(), filters, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    return files.size();
}

long long bareWalk(const QString& root)
{
#if defined(__unix__)
    const int fd = open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd < 0 ? 0 : walkFolder(fd);
#else
    Q_UNUSED(root);
    return -1;
#endif
}
