#include "frame_order.h"

#include <QDir>
#include <QDirIterator>

#include <algorithm>

namespace {

QString upperUnits(const QString& name)
{
    QString upper = name;
    for (QChar& unit : upper)
        unit = unit.toUpper();
    return upper;
}

// Negative, 0 or positive as name a plays before, with or after name b in their folder.
int compareNames(const QString& a, const QString& b)
{
    const QString x = upperUnits(a);
    const QString y = upperUnits(b);
    for (int i = 0; i < x.size() && i < y.size(); ++i)
        if (x.at(i) != y.at(i))
            return x.at(i).unicode() < y.at(i).unicode() ? -1 : 1;
    if (x.size() != y.size())
        return x.size() - y.size();
    return a.compare(b);
}

}  // namespace

bool pathPlaysBefore(const QString& a, const QString& b)
{
    const QStringList x = a.split(QLatin1Char('/'));
    const QStringList y = b.split(QLatin1Char('/'));
    for (int i = 0; i < x.size() && i < y.size(); ++i) {
        const int order = compareNames(x.at(i), y.at(i));
        if (order != 0)
            return order < 0;
    }
    return x.size() < y.size();
}

QStringList inFrameOrder(QStringList paths, const QString& folder)
{
    const int skip = folder.size() + 1;
    std::sort(paths.begin(), paths.end(),
              [skip](const QString& a, const QString& b) { return pathPlaysBefore(a.mid(skip), b.mid(skip)); });
    return paths;
}

QStringList imageFilesInFrameOrder(const QString& folder)
{
    const QString root = QDir(folder).absolutePath();
    QStringList files;
    QDirIterator it(root, {QStringLiteral("*.BMP"), QStringLiteral("*.JPEG"), QStringLiteral("*.JPG"), QStringLiteral("*.PNG")},
                    QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    return inFrameOrder(files, root);
}
