#include "available_memory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <string>

namespace {

// Cgroup limits at or above this mean "no limit" (v1 writes 2^63 less a page).
constexpr qint64 unlimitedCgroup = qint64(1) << 60;

// The value of a "Name: value" line of a file such as /proc/meminfo or a
// cgroup's memory.stat, in the file's unit; -1 when it has no such line.
qint64 namedValue(const char* file, const std::string& name)
{
    std::ifstream lines(file);
    std::string key;
    long long value = 0;
    while (lines >> key >> value) {
        if (key == name)
            return value;
        lines.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return -1;
}

// The first number of a file; -1 when it holds none (a cgroup's "max").
qint64 firstNumber(const std::string& file)
{
    std::ifstream text(file);
    long long value = -1;
    return text >> value ? value : -1;
}

// What the kernel counts as available: free memory and the caches it can drop.
qint64 systemAvailable()
{
    const qint64 kib = namedValue("/proc/meminfo", "MemAvailable:");
    return kib < 0 ? noMemoryLimit : kib * 1024;
}

struct CgroupFiles {
    const char* mount;
    const char* limit;
    const char* usage;
    const char* inactiveFile;  // in memory.stat: file cache the kernel reclaims before it refuses
};
const CgroupFiles cgroupV2{"/sys/fs/cgroup", "memory.max", "memory.current", "inactive_file"};
const CgroupFiles cgroupV1{"/sys/fs/cgroup/memory", "memory.limit_in_bytes", "memory.usage_in_bytes",
                           "total_inactive_file"};

// The least headroom of the cgroup at `path` and of those above it, each of
// which limits this process too. A cgroup namespace mounts the process's own
// group at the root, where the path, which names it from outside, is missing.
qint64 cgroupHeadroom(const CgroupFiles& files, std::string path)
{
    qint64 least = noMemoryLimit;
    while (true) {
        const std::string folder = files.mount + path + '/';
        const qint64 limit = firstNumber(folder + files.limit);
        if (limit >= 0 && limit < unlimitedCgroup) {
            const qint64 inactive = namedValue((folder + "memory.stat").c_str(), files.inactiveFile);
            const qint64 used = std::max<qint64>(firstNumber(folder + files.usage) - std::max<qint64>(inactive, 0), 0);
            least = std::min(least, std::max<qint64>(limit - used, 0));
        }
        const std::size_t slash = path.find_last_of('/');
        if (path.empty() || slash == std::string::npos)
            return least;
        path.erase(slash);
    }
}

// "0::/path" names the cgroup v2 group, "4:memory:/path" the v1 memory group.
qint64 cgroupsHeadroom()
{
    std::ifstream groups("/proc/self/cgroup");
    std::string line;
    qint64 least = noMemoryLimit;
    while (std::getline(groups, line)) {
        const std::size_t first = line.find(':');
        const std::size_t second = line.find(':', first + 1);
        if (first == std::string::npos || second == std::string::npos)
            continue;
        const std::string controllers = ',' + line.substr(first + 1, second - first - 1) + ',';
        const std::string path = line.substr(second + 1);
        if (controllers == ",,")
            least = std::min(least, cgroupHeadroom(cgroupV2, path));
        else if (controllers.find(",memory,") != std::string::npos)
            least = std::min(least, cgroupHeadroom(cgroupV1, path));
    }
    return least;
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
