# The Debian package's own parts, checked by lintian (scripts/check-deb): its
# description (after the synopsis, CPACK_PACKAGE_DESCRIPTION_SUMMARY), its
# changelog, copyright file, ldconfig trigger and lintian overrides
# (packaging/debian), and its dependencies.
set(debian ${PROJECT_SOURCE_DIR}/packaging/debian)
set(CPACK_DEBIAN_PACKAGE_NAME kxcam)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "The kxCam_100 module provides camera kind 100, Virtual Camera(100), to
machine-vision host applications built with Qt 5: a camera without hardware
whose frames are the BMP, JPEG and PNG files of a folder tree, in name order.
Hosts load it by name (libkxCam_100.so) and use it through the interface
header kxcam_camera.h, to run their vision pipelines with no camera attached.

This package also holds kxcam-play, which plays a folder through the module
and reports each frame, kxcam-view, which plays it in a window, a sample set,
and a CMake package for host projects (find_package(kxCam)).")

# The changelog's newest entry is this version's.
file(STRINGS ${debian}/changelog newest LIMIT_COUNT 1)
if(NOT newest MATCHES "^kxcam \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/debian/changelog should begin with an entry for ${PROJECT_VERSION}: ${newest}")
endif()
set(changelog ${PROJECT_BINARY_DIR}/debian/changelog)
configure_file(${debian}/changelog ${changelog} COPYONLY)
add_custom_command(OUTPUT ${changelog}.gz
    COMMAND gzip -9nkf ${changelog}
    DEPENDS ${changelog}
    VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${changelog}.gz)
# A native package: its changelog is changelog.gz, not changelog.Debian.gz.
set(doc ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_DEBIAN_PACKAGE_NAME})
install(FILES ${changelog}.gz ${debian}/copyright DESTINATION ${doc})
install(FILES ${debian}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME ${CPACK_DEBIAN_PACKAGE_NAME})
# The module sits in the dynamic loader's folder, so hosts find it by name;
# dpkg's trigger, not a maintainer script, refreshes the loader's cache.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${debian}/triggers)

# CPack's own dependency scan (CPACK_DEBIAN_PACKAGE_SHLIBDEPS) would also add
# postinst and postrm scripts calling ldconfig; cmake/debian_depends.cmake runs
# dpkg-shlibdeps on the module and the programs instead, when cpack runs.
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/debian/binaries.txt CONTENT
     "$<TARGET_FILE:kxCam_100>\n$<TARGET_FILE:kxcam-play>\n$<TARGET_FILE:kxcam-view>\n")
set(CPACK_KXCAM_DEBIAN_BINARIES ${PROJECT_BINARY_DIR}/debian/binaries.txt)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/debian_depends.cmake)
