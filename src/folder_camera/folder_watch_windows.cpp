#include "folder_watch.h"

#include <QDir>

#include <windows.h>

#include <vector>

// ReadDirectoryChangesW on the whole tree, overlapped, its result asked for
// without waiting. Windows says that a file was added or written to, never
// that its writer is done: the folder of every name it reports is listed
// again, and its new files settle.
struct FolderWatch::System {
    HANDLE folder = INVALID_HANDLE_VALUE;
    HANDLE done = nullptr;
    OVERLAPPED overlapped{};
    std::vector<DWORD> buffer = std::vector<DWORD>(16 * 1024);  // 64 KiB, the most a network share passes

    bool read()
    {
        overlapped = OVERLAPPED{};
        overlapped.hEvent = done;
        return ReadDirectoryChangesW(folder, buffer.data(), DWORD(buffer.size() * sizeof(DWORD)), TRUE,
                                     FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME
                                         | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE,
                                     nullptr, &overlapped, nullptr);
    }

    // The read must be over before its buffer goes.
    void close()
    {
        if (folder == INVALID_HANDLE_VALUE)
            return;
        DWORD bytes = 0;
        if (CancelIo(folder))
            GetOverlappedResult(folder, &overlapped, &bytes, TRUE);
        CloseHandle(folder);
        folder = INVALID_HANDLE_VALUE;
    }
};

FolderWatch::FolderWatch(const QString& root) : m_system(new System)
{
    System& system = *m_system;
    system.done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!system.done)
        return;
    system.folder = CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(root).utf16()),
                                FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (system.folder != INVALID_HANDLE_VALUE && !system.read()) {
        CloseHandle(system.folder);
        system.folder = INVALID_HANDLE_VALUE;
    }
}

FolderWatch::~FolderWatch()
{
    m_system->close();
    if (m_system->done)
        CloseHandle(m_system->done);
}

// The one watch covers the tree, subfolders to come included.
void FolderWatch::add(const QString&)
{
}

bool FolderWatch::active() const
{
    return m_system->folder != INVALID_HANDLE_VALUE;
}

// Each completed read is parsed and a new one issued, as long as the system
// has more to hand over: changes queued since the last read come at once.
void FolderWatch::collect(Changes& changes)
{
    System& system = *m_system;
    while (system.folder != INVALID_HANDLE_VALUE) {
        // The event is asked for first, without waiting: under Wine that
        // call is also what lets a finished read hand over its result.
        if (WaitForSingleObject(system.done, 0) != WAIT_OBJECT_0)
            return;
        DWORD bytes = 0;
        if (!GetOverlappedResult(system.folder, &system.overlapped, &bytes, FALSE)) {
            if (GetLastError() == ERROR_IO_INCOMPLETE)
                return;
            system.close();
            changes.lost = true;
            return;
        }
        // Nothing in a completed read: more happened than the buffer holds.
        if (bytes == 0)
            changes.lost = true;
        const char* const start = reinterpret_cast<const char*>(system.buffer.data());
        for (DWORD offset = 0; bytes > 0;) {
            const auto* note = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(start + offset);
            if (note->Action == FILE_ACTION_ADDED || note->Action == FILE_ACTION_MODIFIED
                || note->Action == FILE_ACTION_RENAMED_NEW_NAME) {
                const QString path = QString::fromWCharArray(note->FileName, int(note->FileNameLength / sizeof(WCHAR)));
                changes.touched.append(QDir::fromNativeSeparators(path));
            }
            if (note->NextEntryOffset == 0)
                break;
            offset += note->NextEntryOffset;
        }
        if (!system.read()) {
            system.close();
            changes.lost = true;
        }
    }
}
