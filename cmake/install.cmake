# cmake --install: the module, the interface headers and (from their own
# folders) the programs and the sample set in the GNU directories, and a
# package configuration with which a host project says find_package(kxCam) and
# links kxCam::interface.
include(CMakePackageConfigHelpers)

set_target_properties(kxcam_interface PROPERTIES EXPORT_NAME interface)
install(TARGETS kxcam_interface kxCam_100 EXPORT kxCamTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES include/kxcam_camera.h include/kxcam_pixel_format.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(KXCAM_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/kxCam)
set(KXCAM_INSTALLED_SAMPLES_DIR ${CMAKE_INSTALL_DATADIR}/kxCam/samples)
install(EXPORT kxCamTargets NAMESPACE kxCam:: DESTINATION ${KXCAM_CMAKE_DIR})
configure_package_config_file(cmake/kxCamConfig.cmake.in ${PROJECT_BINARY_DIR}/kxCamConfig.cmake
    INSTALL_DESTINATION ${KXCAM_CMAKE_DIR}
    PATH_VARS KXCAM_INSTALLED_SAMPLES_DIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/kxCamConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/kxCamConfig.cmake ${PROJECT_BINARY_DIR}/kxCamConfigVersion.cmake
              ${CMAKE_CURRENT_LIST_DIR}/kxcam_copy_module_beside.cmake
    DESTINATION ${KXCAM_CMAKE_DIR})

if(UNIX AND NOT APPLE AND TARGET kxcam-play)
    include(${CMAKE_CURRENT_LIST_DIR}/manual_pages.cmake)
endif()
