# What the Windows release adds to the install so that it runs, unzipped, with
# nothing on PATH: Qt's DLLs and the plug-ins the programs load beside them
# (Qt looks for plug-ins in the program's folder), the MinGW-w64 runtime, a
# README for Windows users and the licence texts of what is bundled.
include(${CMAKE_CURRENT_LIST_DIR}/mingw_runtime.cmake)
kxcam_mingw_runtime_dlls(mingw_runtime)
install(FILES ${mingw_runtime} $<TARGET_FILE:Qt5::Core> $<TARGET_FILE:Qt5::Gui> $<TARGET_FILE:Qt5::Widgets>
        DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES $<TARGET_FILE:Qt5::QWindowsIntegrationPlugin> DESTINATION ${CMAKE_INSTALL_BINDIR}/platforms)
install(FILES $<TARGET_FILE:Qt5::QJpegPlugin> DESTINATION ${CMAKE_INSTALL_BINDIR}/imageformats)
install(FILES $<TARGET_FILE:Qt5::QWindowsVistaStylePlugin> DESTINATION ${CMAKE_INSTALL_BINDIR}/styles)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt DESTINATION .)
# The licence texts as Debian ships them: the full licences, and the copyright
# files of the packages whose sources Qt bundles (zlib, libpng, libjpeg-turbo)
# or whose runtime the compiler links (GCC's runtime library exception,
# MinGW-w64's winpthreads).
set(licences
    /usr/share/common-licenses/LGPL-3 Qt-LGPL-3.txt
    /usr/share/common-licenses/GPL-3 GPL-3.txt
    /usr/share/doc/gcc-mingw-w64-base/copyright GCC-runtime-library-exception.txt
    /usr/share/doc/mingw-w64-x86-64-dev/copyright MinGW-w64-runtime.txt
    /usr/share/doc/zlib1g/copyright zlib.txt
    /usr/share/doc/libpng16-16/copyright libpng.txt
    /usr/share/doc/libjpeg62-turbo/copyright libjpeg-turbo.txt)
while(licences)
    list(POP_FRONT licences source name)
    if(NOT EXISTS ${source})
        message(FATAL_ERROR "The Windows release needs the licence text ${source} (scripts/bootstrap windows)")
    endif()
    install(FILES ${source} DESTINATION licences RENAME ${name})
endwhile()
