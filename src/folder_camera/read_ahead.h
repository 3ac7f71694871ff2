// One of the module's platform seams: a hint to the operating system.
#ifndef READ_AHEAD_H
#define READ_AHEAD_H

#include <QStringList>

// Asks the system to start reading the files at `paths`, in that order, into
// its cache and returns at once, without waiting for the reads. Files the
// system can cheaply tell are cached already are not asked for, and when the
// last one is, nothing is. Only a hint: a file that is gone, unreadable or not
// a regular file is passed over in silence.
void readAhead(const QStringList& paths);

#endif
