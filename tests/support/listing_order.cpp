#include "listing_order.h"

#include <algorithm>

namespace {

QString upperUnits(QString name)
{
    for (QChar& unit : name)
        unit = unit.toUpper();
    return name;
}

bool listedBefore(const QString& a, const QString& b)
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

QStringList inListingOrder(QStringList paths, const QString& folder)
{
    const int skip = folder.size() + 1;
    std::sort(paths.begin(), paths.end(),
              [skip](const QString& a, const QString& b) { return listedBefore(a.mid(skip), b.mid(skip)); });
    return paths;
}
