# Cross build for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads
# variant, which Qt for MinGW is built with). Give Qt for MinGW through
# CMAKE_PREFIX_PATH; its moc and rcc are Linux programs and run as they are.
# Windows programs made by the build (the sample set generator, the tests)
# run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KXCAM_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KXCAM_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KXCAM_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KXCAM_MINGW_TRIPLE}-windres)

# Libraries and headers come from the MinGW tree or CMAKE_PREFIX_PATH, never from Linux.
set(CMAKE_FIND_ROOT_PATH /usr/${KXCAM_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
# Static libraries only (zlib): the programs then need no further DLL beside them.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

find_program(KXCAM_WINE wine64 PATHS /usr/lib/wine)
if(KXCAM_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${KXCAM_WINE})
endif()
