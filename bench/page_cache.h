// Dropping files from the system's page cache, so that the next pass over
// them reads from the disk as a host replaying a large image set does.
#ifndef PAGE_CACHE_H
#define PAGE_CACHE_H

#include <QString>
#include <QStringList>

// Writes the files' pages back and drops them from the cache. Empty on
// success; otherwise why the files could not be dropped here.
QString evictFromPageCache(const QStringList& paths);

#endif
