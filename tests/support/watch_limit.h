// How many folders the system lets a camera watch, for the suite built
// in-process on Linux, which wraps the system's inotify_add_watch: past the
// limit, it fails as the kernel does when a user's watches are used up.
#ifndef WATCH_LIMIT_H
#define WATCH_LIMIT_H

bool watchLimitCanBeSet();

class WatchLimit {
public:
    // -1: no limit but the system's own.
    explicit WatchLimit(int watches);
    ~WatchLimit();
    WatchLimit(const WatchLimit&) = delete;
    WatchLimit& operator=(const WatchLimit&) = delete;
};

#endif
