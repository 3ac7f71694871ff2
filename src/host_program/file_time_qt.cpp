// Elsewhere Qt's file information, which keeps milliseconds.
#include "file_time.h"

#include <QDateTime>
#include <QFileInfo>

bool fileModificationTime(const QString& path, qint64& nanoseconds)
{
    const QDateTime modified = QFileInfo(path).lastModified();
    if (!modified.isValid())
        return false;
    nanoseconds = modified.toMSecsSinceEpoch() * 1000000;
    return true;
}
