#include "available_memory.h"

#include <windows.h>

#include <algorithm>

// Physical memory not in use, and commit the system can still grant: the
// smaller one is where allocations begin to fail or to page the host out.
qint64 availableMemory()
{
    MEMORYSTATUSEX status;
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return noMemoryLimit;
    const DWORDLONG least = std::min(status.ullAvailPhys, status.ullAvailPageFile);
    return static_cast<qint64>(std::min<DWORDLONG>(least, DWORDLONG(noMemoryLimit)));
}
