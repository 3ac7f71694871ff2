# kxcam_copy_module_beside(TARGET): copies the kxCam_100 module into the folder
# of the host's program TARGET after each build of it, where the program loads
# it by name (QLibrary from its own folder; on Windows the DLL search finds it
# there). The same call works with the module built inside the host's project
# (add_subdirectory, FetchContent) and with an installed kxCam package.
function(kxcam_copy_module_beside target)
    get_target_property(module_imported kxCam::kxCam_100 IMPORTED)
    if(NOT module_imported)
        add_dependencies(${target} kxCam_100)
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:kxCam::kxCam_100> $<TARGET_FILE_DIR:${target}>
        VERBATIM)
endfunction()
