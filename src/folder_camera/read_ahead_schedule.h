// Which files a trigger asks the system to read ahead, and when.
#ifndef READ_AHEAD_SCHEDULE_H
#define READ_AHEAD_SCHEDULE_H

#include "file_list.h"

// Called by the trigger that takes `files[index]`, before its decode; `loop`
// says whether the sequence wraps around after the last file.
void readAheadFrom(const FileList& files, int index, bool loop);

#endif
