# cpack makes the release packages from the install rules: from a MinGW-w64
# cross build the Windows zip (scripts/package-windows), from a Linux build the
# Debian package (scripts/package-deb).
set(CPACK_PACKAGE_NAME kxCam_100)
set(CPACK_PACKAGE_VENDOR kxCam)
set(CPACK_PACKAGE_CONTACT "kxCam developers <kxcam@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Virtual Camera(100): a camera module for Qt 5 vision hosts whose frames are the image files of a folder")
set(CPACK_STRIP_FILES ON)

if(MINGW)
    include(${CMAKE_CURRENT_LIST_DIR}/windows_release.cmake)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME kxCam_100-${PROJECT_VERSION}-windows-x64)
elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_PACKAGE_NAME kxcam)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION libs)
    # The module and the programs link Qt; dpkg-shlibdeps names its packages.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
