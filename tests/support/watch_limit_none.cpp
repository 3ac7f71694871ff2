#include "watch_limit.h"

// Builds whose camera is not linked in, or watches no folder one by one.
bool watchLimitCanBeSet()
{
    return false;
}

WatchLimit::WatchLimit(int)
{
}

WatchLimit::~WatchLimit() = default;
