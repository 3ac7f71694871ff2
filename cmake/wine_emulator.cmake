# A cross build for Windows runs its programs (the sample set generator, the
# tests) through build/wine-run, which gives Wine a prefix in the build tree and
# the DLLs the programs need, so that a plain `ctest` in the build tree works.
set(KXCAM_WINE ${CMAKE_CROSSCOMPILING_EMULATOR})
set(KXCAM_WINE_PREFIX ${PROJECT_BINARY_DIR}/wine-prefix)

include(${CMAKE_CURRENT_LIST_DIR}/mingw_runtime.cmake)
get_filename_component(qt_prefix "${Qt5Core_DIR}/../../.." ABSOLUTE)
set(dll_dirs "Z:${qt_prefix}/bin")
kxcam_mingw_runtime_dlls(runtime_dlls)
foreach(runtime_path IN LISTS runtime_dlls)
    get_filename_component(runtime_dir "${runtime_path}" DIRECTORY)
    list(APPEND dll_dirs "Z:${runtime_dir}")
endforeach()
list(REMOVE_DUPLICATES dll_dirs)
set(KXCAM_WINE_DLL_PATH "${dll_dirs}")

# Made executable by copying, since configure_file sets permissions only from CMake 3.20 on.
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${PROJECT_BINARY_DIR}/CMakeFiles/wine-run @ONLY)
file(COPY ${PROJECT_BINARY_DIR}/CMakeFiles/wine-run DESTINATION ${PROJECT_BINARY_DIR}
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run)
