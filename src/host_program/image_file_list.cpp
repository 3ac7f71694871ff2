#include "image_file_list.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>

#include <algorithm>

namespace {

QString upperUnits(QString name)
{
    for (QChar& unit : name)
        unit = unit.toUpper();
    return name;
}

bool playedBefore(const QString& a, const QString& b)
{
    const QStringList x = a.split(QLatin1Char('/'));
    const QStringList y = b.split(QLatin1Char('/'));
    for (int i = 0; i < x.size() && i < y.size(); ++i) {
        if (x[i] == y[i])
            continue;
        const QString upperX = upperUnits(x[i]);
        const QString upperY = upperUnits(y[i]);
        // Names differing only in case (possible off NTFS) keep their folders' files together.
        return upperX != upperY ? upperX < upperY : x[i] < y[i];
    }
    return x.size() < y.size();
}

}  // namespace

QString cameraFolderPath(const QString& folder)
{
    const QDir asWritten(folder);
    if (asWritten.exists())
        return asWritten.absolutePath();
    return QDir(QCoreApplication::applicationDirPath() + QLatin1Char('/') + folder).absolutePath();
}

QStringList listImageFiles(const QString& folder)
{
    const QDir dir(cameraFolderPath(folder));
    if (!dir.exists() || dir.isRoot())
        return {};
    const QStringList suffixes{QStringLiteral(".bmp"), QStringLiteral(".jpeg"), QStringLiteral(".jpg"),
                               QStringLiteral(".png")};
    const QString root = dir.absolutePath();
    QDirIterator it(root, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = it.fileName();
        if (std::any_of(suffixes.cbegin(), suffixes.cend(),
                        [&name](const QString& suffix) { return name.endsWith(suffix, Qt::CaseInsensitive); }))
            files.append(path);
    }
    return inFrameOrder(files, root);
}

QStringList inFrameOrder(QStringList paths, const QString& folder)
{
    const int skip = folder.size() + 1;
    std::sort(paths.begin(), paths.end(),
              [skip](const QString& a, const QString& b) { return playedBefore(a.mid(skip), b.mid(skip)); });
    return paths;
}
