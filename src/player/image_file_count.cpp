#include "image_file_count.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QStringList>

#include <algorithm>

namespace {

// The folder the camera opens for the string in its parameter record.
QDir cameraFolder(const QString& folder)
{
    const QDir asWritten(folder);
    if (asWritten.exists())
        return asWritten;
    return QDir(QCoreApplication::applicationDirPath() + QLatin1Char('/') + folder);
}

}  // namespace

int countImageFiles(const QString& folder)
{
    const QDir dir = cameraFolder(folder);
    if (!dir.exists() || dir.isRoot())
        return 0;
    const QStringList suffixes{QStringLiteral(".bmp"), QStringLiteral(".jpeg"), QStringLiteral(".jpg"),
                               QStringLiteral(".png")};
    QDirIterator it(dir.absolutePath(), QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    int count = 0;
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        count += std::any_of(suffixes.cbegin(), suffixes.cend(), [&name](const QString& suffix) {
            return name.endsWith(suffix, Qt::CaseInsensitive);
        });
    }
    return count;
}
