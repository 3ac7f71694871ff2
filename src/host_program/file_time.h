// When a file was last modified, to the finest unit the system keeps.
#ifndef FILE_TIME_H
#define FILE_TIME_H

#include <QString>
#include <QtGlobal>

// Nanoseconds since 1970-01-01 UTC into `nanoseconds`; false when the system cannot tell.
bool fileModificationTime(const QString& path, qint64& nanoseconds);

#endif
