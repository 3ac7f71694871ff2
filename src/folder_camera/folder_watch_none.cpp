#include "folder_watch.h"

// Systems without change notifications: the follower polls each folder.
struct FolderWatch::System {
};

FolderWatch::FolderWatch(const QString&)
{
}

FolderWatch::~FolderWatch() = default;

void FolderWatch::add(const QString&)
{
}

bool FolderWatch::active() const
{
    return false;
}

void FolderWatch::collect(Changes&)
{
}
