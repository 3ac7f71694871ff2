# The programs' manual pages: made by help2man at build time from each
# program's --help (cmake/manual_page.cmake) and packaging/man/PROGRAM.h2m, so
# a page cannot drift from the options, and installed in man1. Left out where
# help2man is missing (scripts/bootstrap package installs it), where the
# programs cannot run here, and from the sanitizer build, which ships nothing.
find_program(KXCAM_HELP2MAN help2man)
if(KXCAM_HELP2MAN AND NOT CMAKE_CROSSCOMPILING AND NOT KXCAM_SANITIZE)
    set(pages)
    foreach(program kxcam-play kxcam-view)
        set(page ${PROJECT_BINARY_DIR}/man/${program}.1.gz)
        set(include ${PROJECT_SOURCE_DIR}/packaging/man/${program}.h2m)
        add_custom_command(OUTPUT ${page}
            COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DHELP2MAN=${KXCAM_HELP2MAN}
                    -DINCLUDE=${include} -DPAGE=${page}
                    "-DPATHS=$<TARGET_FILE:kxCam_100>|${CMAKE_INSTALL_FULL_LIBDIR}/$<TARGET_FILE_NAME:kxCam_100>|${KXCAM_SAMPLES_DIR}|${CMAKE_INSTALL_FULL_DATADIR}/kxCam/samples"
                    -P ${CMAKE_CURRENT_LIST_DIR}/manual_page.cmake
            DEPENDS ${program} ${include} ${CMAKE_CURRENT_LIST_DIR}/manual_page.cmake
            COMMENT "Writing the manual page of ${program}"
            VERBATIM)
        list(APPEND pages ${page})
    endforeach()
    add_custom_target(manual_pages ALL DEPENDS ${pages})
    install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
