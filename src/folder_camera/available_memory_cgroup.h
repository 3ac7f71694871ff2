// Linux's memory figures from its text files, apart from availableMemory() so
// that a test can hand them a process's groups and cgroup files of its own.
#ifndef AVAILABLE_MEMORY_CGROUP_H
#define AVAILABLE_MEMORY_CGROUP_H

#include <QtGlobal>

#include <string>

// The value of a "Name: value" line of a file such as /proc/meminfo or a
// cgroup's memory.stat, in the file's unit; -1 when it has no such line.
qint64 memoryFileValue(const std::string& file, const std::string& name);

// The least limit less usage of the memory cgroups named by `procSelfCgroup`
// (the text of /proc/self/cgroup) and of those above them; noMemoryLimit when
// none has a limit. `mount` holds the cgroup v2 hierarchy, and v1's memory
// hierarchy in its folder "memory".
qint64 cgroupHeadroom(const std::string& procSelfCgroup, const std::string& mount);

#endif
