#include "read_ahead_schedule.h"

#include "read_ahead.h"

// Every fourth trigger asks for its own file and those of the next four
// triggers: the reads go on while this frame decodes and while the host works
// on it. Its own file comes first, so that in a folder not read ahead yet its
// decode waits for no other file. Asked in batches, a folder that is cached
// already costs one probe per batch instead of a system call or three per
// trigger.
void readAheadFrom(const FileList& files, int index, bool loop)
{
    const int batchSize = 4;
    if (index % batchSize != 0)
        return;
    const int count = files.size();
    QStringList batch{files.path(index)};
    // Files after the wrap go in a batch of their own: read a pass ago, they
    // may still be cached when those before them are not.
    QStringList wrapped;
    for (int step = 1; step <= batchSize && step < count; ++step) {
        if (index + step < count)
            batch.append(files.path(index + step));
        else if (loop)
            wrapped.append(files.path(index + step - count));
    }
    readAhead(batch);
    if (!wrapped.isEmpty())
        readAhead(wrapped);
}
