#include "available_memory.h"

#include "available_memory_cgroup.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// What the kernel counts as available: free memory and the caches it can drop.
qint64 systemAvailable()
{
    const qint64 kib = memoryFileValue("/proc/meminfo", "MemAvailable:");
    return kib < 0 ? noMemoryLimit : kib * 1024;
}

// The headroom of the memory cgroups this process belongs to.
qint64 cgroupsHeadroom()
{
    std::ifstream file("/proc/self/cgroup");
    const std::string groups{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return cgroupHeadroom(groups, "/sys/fs/cgroup");
}

// The address-space limit (ulimit -v) less what the process has mapped.
qint64 addressSpaceHeadroom()
{
    rlimit limit;
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return noMemoryLimit;
    std::ifstream statm("/proc/self/statm");
    long long mappedPages = 0;
    if (!(statm >> mappedPages))
        return noMemoryLimit;
    const qint64 cap = qint64(std::min<rlim_t>(limit.rlim_cur, rlim_t(noMemoryLimit)));
    return std::max<qint64>(cap - mappedPages * sysconf(_SC_PAGESIZE), 0);
}

}  // namespace

qint64 availableMemory()
{
    return std::min({systemAvailable(), cgroupsHeadroom(), addressSpaceHeadroom()});
}
