// The declarations of Windows 8; the one function that needs them is looked
// up at run time, so the module still loads, without the hint, on Windows 7.
#if !defined(_WIN32_WINNT) || _WIN32_WINNT < 0x0602
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#endif

#include "read_ahead.h"

#include <QDir>

#include <windows.h>

namespace {

using PrefetchFunction = BOOL(WINAPI*)(HANDLE, ULONG_PTR, PWIN32_MEMORY_RANGE_ENTRY, ULONG);

PrefetchFunction prefetchFunction()
{
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<PrefetchFunction>(
                        reinterpret_cast<void (*)()>(GetProcAddress(kernel, "PrefetchVirtualMemory")))
                  : nullptr;
}

// The file is mapped read-only, PrefetchVirtualMemory queues reads of the
// whole view and returns without waiting for them, and everything is closed
// again before returning. This is safe: the reads are the memory manager's,
// not a thread of ours, and the pages they fill belong to the file's own
// section, which the system cache (and so the next trigger's ReadFile)
// shares, so they stay cached after the view is gone. The file is opened
// sharing read, write and delete and held only for the length of this call,
// so no one is kept from changing, renaming or deleting it.
void prefetchFile(const QString& path, PrefetchFunction prefetch)
{
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                                    GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER size;
    // An empty file cannot be mapped.
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
        const HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (mapping) {
            void* const view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
            if (view) {
                WIN32_MEMORY_RANGE_ENTRY range{view, static_cast<SIZE_T>(size.QuadPart)};
                prefetch(GetCurrentProcess(), 1, &range, 0);
                UnmapViewOfFile(view);
            }
            CloseHandle(mapping);
        }
    }
    CloseHandle(file);
}

}  // namespace

// Windows offers no cheap test of whether a file is cached, so every file of
// the batch is prefetched; for a cached file that is a mapping and no read.
void readAhead(const QStringList& paths)
{
    const PrefetchFunction prefetch = prefetchFunction();
    if (!prefetch)
        return;
    for (const QString& path : paths)
        prefetchFile(path, prefetch);
}
