// Force-included when the interface is compiled for the Microsoft x64 ABI
// over MinGW-w64's headers, which Debian has in place of Microsoft's. It gives
// those headers what a windows-gnu compiler would have predefined, and what
// Qt's MSVC branch expects from Microsoft's library.

// The GCC identity MinGW-w64's C headers and libstdc++ are written against.
#define __GNUC__ 12
#define __GNUC_MINOR__ 0
#define __MINGW32__ 1
#define __MINGW64__ 1
// What -std=c++17 (no GNU extensions) defines there; libstdc++ insists on it.
#define __STRICT_ANSI__ 1

// x86-64 has lock-free atomics of every size up to a pointer.
#define __GCC_ATOMIC_BOOL_LOCK_FREE 2
#define __GCC_ATOMIC_CHAR_LOCK_FREE 2
#define __GCC_ATOMIC_CHAR16_T_LOCK_FREE 2
#define __GCC_ATOMIC_CHAR32_T_LOCK_FREE 2
#define __GCC_ATOMIC_WCHAR_T_LOCK_FREE 2
#define __GCC_ATOMIC_SHORT_LOCK_FREE 2
#define __GCC_ATOMIC_INT_LOCK_FREE 2
#define __GCC_ATOMIC_LONG_LOCK_FREE 2
#define __GCC_ATOMIC_LLONG_LOCK_FREE 2
#define __GCC_ATOMIC_POINTER_LOCK_FREE 2
#define __GCC_ATOMIC_TEST_AND_SET_TRUEVAL 1

// MinGW-w64 takes __declspec for supported only when it is a macro; naming
// the macro after itself keeps Clang's keyword.
#define __declspec __declspec

// Declares _setjmp with one argument, as Clang's <intrin.h> does for MSVC.
#define USE_NO_MINGW_SETJMP_TWO_ARGS 1

// Clang's <intrin.h> for MSVC defines these string intrinsics itself, so
// <windows.h> must not define them again.
#define __INTRINSIC_DEFINED___movsb
#define __INTRINSIC_DEFINED___movsw
#define __INTRINSIC_DEFINED___movsd
#define __INTRINSIC_DEFINED___movsq
#define __INTRINSIC_DEFINED___stosw
#define __INTRINSIC_DEFINED___stosd
#define __INTRINSIC_DEFINED___stosq

#ifdef __cplusplus
// Qt's MSVC branch wraps raw pointers in this helper of Microsoft's library;
// a plain pointer is the same iterator without the bounds check.
namespace stdext {
template <typename T>
T* make_checked_array_iterator(T* pointer, decltype(sizeof(0)))
{
    return pointer;
}
}
#endif
