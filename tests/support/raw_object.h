// What a host built elsewhere sees of a camera: bytes at fixed offsets and
// entries of a virtual table, independent of this project's header layout.
#ifndef RAW_OBJECT_H
#define RAW_OBJECT_H

#include <cstddef>
#include <cstring>

template <typename T>
T rawField(const void* object, std::size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const char*>(object) + offset, sizeof value);
    return value;
}

template <typename T>
void setRawField(void* object, std::size_t offset, T value)
{
    std::memcpy(static_cast<char*>(object) + offset, &value, sizeof value);
}

// The vtable entry of a contract slot. A virtual destructor takes one entry on
// Windows x64 and two under the Itanium ABI, so later slots move by one there.
inline void* vtableEntry(const void* object, int slot)
{
#if defined(_MSC_VER)
    const int entry = slot;
#else
    const int entry = slot == 0 ? 0 : slot + 1;
#endif
    void* const* vtable = rawField<void* const*>(object, 0);
    return vtable[entry];
}

// Calls a slot as the host's compiler would: a member call passes the object
// as the first argument.
template <typename Result, typename... Args>
Result callSlot(void* object, int slot, Args... args)
{
    using Entry = Result (*)(void*, Args...);
    return reinterpret_cast<Entry>(vtableEntry(object, slot))(object, args...);
}

#endif
