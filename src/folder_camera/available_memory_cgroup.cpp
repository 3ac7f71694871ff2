#include "available_memory_cgroup.h"

#include "available_memory.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <sstream>

namespace {

// Cgroup limits at or above this mean "no limit" (v1 writes 2^63 less a page).
constexpr qint64 unlimitedCgroup = qint64(1) << 60;

// The first number of a file; -1 when it holds none (a cgroup's "max").
qint64 firstNumber(const std::string& file)
{
    std::ifstream text(file);
    long long value = -1;
    return text >> value ? value : -1;
}

struct CgroupFiles {
    const char* folder;  // of the hierarchy, within the mount
    const char* limit;
    const char* usage;
    const char* inactiveFile;  // in memory.stat: file cache the kernel reclaims before it refuses
};
const CgroupFiles cgroupV2{"", "memory.max", "memory.current", "inactive_file"};
const CgroupFiles cgroupV1{"/memory", "memory.limit_in_bytes", "memory.usage_in_bytes", "total_inactive_file"};

// The least headroom of the group at `path` and of those above it, each of
// which limits this process too. A cgroup namespace mounts the process's own
// group at the root, where the path, which names it from outside, is missing.
qint64 groupHeadroom(const std::string& mount, const CgroupFiles& files, std::string path)
{
    qint64 least = noMemoryLimit;
    while (true) {
        const std::string folder = mount + files.folder + path + '/';
        const qint64 limit = firstNumber(folder + files.limit);
        if (limit >= 0 && limit < unlimitedCgroup) {
            const qint64 inactive = memoryFileValue(folder + "memory.stat", files.inactiveFile);
            const qint64 used = std::max<qint64>(firstNumber(folder + files.usage) - std::max<qint64>(inactive, 0), 0);
            least = std::min(least, std::max<qint64>(limit - used, 0));
        }
        const std::size_t slash = path.find_last_of('/');
        if (path.empty() || slash == std::string::npos)
            return least;
        path.erase(slash);
    }
}

}  // namespace

qint64 memoryFileValue(const std::string& file, const std::string& name)
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

// "0::/path" names the cgroup v2 group, "4:memory:/path" the v1 memory group.
qint64 cgroupHeadroom(const std::string& procSelfCgroup, const std::string& mount)
{
    std::istringstream groups(procSelfCgroup);
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
            least = std::min(least, groupHeadroom(mount, cgroupV2, path));
        else if (controllers.find(",memory,") != std::string::npos)
            least = std::min(least, groupHeadroom(mount, cgroupV1, path));
    }
    return least;
}
