# cpack makes the release packages from the install rules: from a MinGW-w64
# cross build the Windows zip (scripts/package-windows), from a Linux build the
# Debian package (scripts/package-deb).
set(CPACK_PACKAGE_NAME kxCam_100)
set(CPACK_PACKAGE_VENDOR kxCam)
set(CPACK_PACKAGE_CONTACT "kxCam developers <maintainers@kxcam.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "camera module for Qt 5 vision hosts whose frames are a folder's images")
set(CPACK_STRIP_FILES ON)

if(MINGW)
    include(${CMAKE_CURRENT_LIST_DIR}/windows_release.cmake)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME kxCam_100-${PROJECT_VERSION}-windows-x64)
elseif(KXCAM_PLATFORM STREQUAL "linux")
    set(CPACK_GENERATOR DEB)
    include(${CMAKE_CURRENT_LIST_DIR}/debian_package.cmake)
endif()

include(CPack)
