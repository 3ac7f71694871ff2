#include "host_memory.h"

#include <fstream>
#include <string>

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__unix__)
#include <unistd.h>
#endif

std::size_t residentBytes()
{
#if defined(__linux__)
    std::ifstream statm("/proc/self/statm");
    std::size_t totalPages = 0;
    std::size_t residentPages = 0;
    if (statm >> totalPages >> residentPages)
        return residentPages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
#endif
    return 0;
}

std::size_t peakResidentBytes()
{
#if defined(__linux__)
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            std::size_t kib = 0;
            status >> kib;
            return kib * 1024;
        }
        status.ignore(1 << 20, '\n');
    }
#endif
    return 0;
}

bool resetPeakResident()
{
#if defined(__linux__)
    std::ofstream clearRefs("/proc/self/clear_refs");
    return static_cast<bool>(clearRefs << "5" << std::flush);
#else
    return false;
#endif
}

void releaseFreeHeap()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

bool forceFreshPagesForLargeAllocations()
{
#if defined(__GLIBC__)
    return mallopt(M_MMAP_THRESHOLD, 128 * 1024) == 1;
#else
    return false;
#endif
}
