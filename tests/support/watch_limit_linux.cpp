#include "watch_limit.h"

#include <sys/inotify.h>

#include <cerrno>
#include <cstdint>

namespace {

int watchesLeft = -1;

}  // namespace

extern "C" int __real_inotify_add_watch(int descriptor, const char* path, std::uint32_t mask);

extern "C" int __wrap_inotify_add_watch(int descriptor, const char* path, std::uint32_t mask)
{
    if (watchesLeft == 0) {
        errno = ENOSPC;
        return -1;
    }
    if (watchesLeft > 0)
        --watchesLeft;
    return __real_inotify_add_watch(descriptor, path, mask);
}

bool watchLimitCanBeSet()
{
    return true;
}

WatchLimit::WatchLimit(int watches)
{
    watchesLeft = watches;
}

WatchLimit::~WatchLimit()
{
    watchesLeft = -1;
}
