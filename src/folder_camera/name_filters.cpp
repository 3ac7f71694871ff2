#include "name_filters.h"

bool matchesNameFilters(const QString& fileName, const QStringList& nameFilters)
{
    for (const QString& filter : nameFilters) {
        if (fileName.endsWith(filter.midRef(1), Qt::CaseInsensitive))
            return true;
    }
    return false;
}
