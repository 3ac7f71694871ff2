// The one platform seam of the module: a hint to the operating system.
#ifndef READ_AHEAD_H
#define READ_AHEAD_H

#include <QString>

// Asks the system to start reading the file at `path` into its cache and
// returns at once, without waiting for the read. Only a hint: a file that is
// gone, unreadable or not a regular file is passed over in silence.
void readAhead(const QString& path);

#endif
