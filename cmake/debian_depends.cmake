# Read by cpack: the Debian package's Depends field, from dpkg-shlibdeps on the
# module and the programs as built (listed by cmake/debian_package.cmake).
if(CPACK_GENERATOR STREQUAL "DEB")
    file(STRINGS ${CPACK_KXCAM_DEBIAN_BINARIES} binaries)
    # dpkg-shlibdeps runs in a source package's tree: an empty debian/control is enough.
    get_filename_component(work ${CPACK_KXCAM_DEBIAN_BINARIES} DIRECTORY)
    file(WRITE ${work}/control "")
    execute_process(COMMAND dpkg-shlibdeps -O ${binaries} WORKING_DIRECTORY ${work}/..
                    RESULT_VARIABLE status OUTPUT_VARIABLE depends ERROR_VARIABLE errors OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT status EQUAL 0 OR NOT depends MATCHES "^shlibs:Depends=")
        message(FATAL_ERROR "dpkg-shlibdeps failed (${status}): ${errors}")
    endif()
    string(REGEX REPLACE "^shlibs:Depends=" "" CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
endif()
