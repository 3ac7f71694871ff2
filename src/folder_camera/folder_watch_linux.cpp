#include "folder_watch.h"

#include <QFile>
#include <QHash>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

// One inotify descriptor, non-blocking, and a watch a folder. A file is
// complete when it is closed after writing or moved in; a folder that
// appears is reported to be followed in turn, and so is a hard link made to
// a file elsewhere, which is never written through its new name.
struct FolderWatch::System {
    QString root;
    int descriptor = -1;
    QHash<int, QString> folders;  // by watch

    void giveUp()
    {
        ::close(descriptor);
        descriptor = -1;
        folders.clear();
    }
};

namespace {

bool isHardLink(const QString& path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode)
        && status.st_nlink > 1;
}

}  // namespace

FolderWatch::FolderWatch(const QString& root) : m_system(new System)
{
    m_system->root = root;
    m_system->descriptor = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
}

FolderWatch::~FolderWatch()
{
    if (m_system->descriptor >= 0)
        ::close(m_system->descriptor);
}

void FolderWatch::add(const QString& relativePath)
{
    System& system = *m_system;
    if (system.descriptor < 0)
        return;
    const QString path = relativePath.isEmpty() ? system.root : system.root + QLatin1Char('/') + relativePath;
    const int watch = ::inotify_add_watch(system.descriptor, QFile::encodeName(path).constData(),
                                          IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_ONLYDIR | IN_DONT_FOLLOW);
    if (watch >= 0)
        system.folders.insert(watch, relativePath);
    // The watches a user may have are used up, or the kernel's memory for
    // them: the whole tree is polled rather than part of it left unwatched.
    // A folder gone or unreadable since it was listed is no one's loss.
    else if (errno == ENOSPC || errno == ENOMEM)
        system.giveUp();
}

bool FolderWatch::active() const
{
    return m_system->descriptor >= 0;
}

void FolderWatch::collect(Changes& changes)
{
    System& system = *m_system;
    alignas(inotify_event) char buffer[16 * 1024];
    while (system.descriptor >= 0) {
        const ssize_t length = ::read(system.descriptor, buffer, sizeof buffer);
        if (length <= 0) {
            if (length < 0 && errno != EAGAIN && errno != EINTR) {
                system.giveUp();
                changes.lost = true;
            }
            return;
        }
        for (const char* next = buffer; next < buffer + length;) {
            inotify_event event;
            std::memcpy(&event, next, sizeof event);
            const char* const name = next + sizeof event;
            next += sizeof event + event.len;
            if (event.mask & IN_Q_OVERFLOW) {
                changes.lost = true;
                continue;
            }
            if (event.mask & IN_IGNORED) {
                system.folders.remove(event.wd);
                continue;
            }
            const auto folder = system.folders.constFind(event.wd);
            if (folder == system.folders.cend() || event.len == 0)
                continue;
            // As the listing does: a name the system's encoding cannot decode is passed over.
            const QByteArray bytes(name);
            const QString decoded = QFile::decodeName(bytes);
            if (QFile::encodeName(decoded) != bytes)
                continue;
            const QString path = folder->isEmpty() ? decoded : *folder + QLatin1Char('/') + decoded;
            if (event.mask & IN_ISDIR)
                changes.appeared.append(path);
            else if (event.mask & (IN_CLOSE_WRITE | IN_MOVED_TO))
                changes.complete.append(path);
            // A new file says nothing until it is closed, but a new link to one may never be.
            else if (isHardLink(system.root + QLatin1Char('/') + path))
                changes.appeared.append(path);
        }
    }
}
