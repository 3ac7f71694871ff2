#include "host_memory.h"

#include <fstream>

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
