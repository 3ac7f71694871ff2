# Installs the build tree into a prefix inside it, then configures, builds and
# runs the consumer project against that prefix, and the installed player.
# Arguments: BUILD_DIR, SOURCE_DIR, GENERATOR, MODULE_DESTINATION (where the
# module is installed), WINDOWS (the programs are Windows programs); for a cross
# build also TOOLCHAIN, QT5_DIR and EMULATOR.
set(prefix ${BUILD_DIR}/consumer-test/prefix)
set(consumer_build ${BUILD_DIR}/consumer-test/build)
file(REMOVE_RECURSE ${BUILD_DIR}/consumer-test)

function(run_step)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "failed (${status}): ${ARGN}\n${output}${errors}")
    endif()
    # A Windows console program ends its lines with CR LF.
    if(WINDOWS)
        string(REPLACE "\r\n" "\n" output "${output}")
    endif()
    set(step_output "${output}" PARENT_SCOPE)
endfunction()

set(cross)
if(TOOLCHAIN)
    set(cross -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DQt5_DIR=${QT5_DIR})
endif()

run_step(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
run_step(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${consumer_build} -G ${GENERATOR} -DCMAKE_PREFIX_PATH=${prefix} ${cross})
run_step(${CMAKE_COMMAND} --build ${consumer_build})
file(GLOB consumer ${consumer_build}/consumer ${consumer_build}/consumer.exe)
run_step(${EMULATOR} ${consumer})
message(STATUS "consumer: ${step_output}")
if(NOT step_output MATCHES "\n8 frames\n$")
    message(FATAL_ERROR "the consumer should play the 8 installed sample frames")
endif()

# The installed program finds the installed module and sample set by itself.
file(GLOB player ${prefix}/bin/kxcam-play*)
# Started by Wine from here, a Windows program has neither a console nor
# standard handles handed to it, and Qt shows the help in a message box: the
# help text is read where it reaches standard output.
if(NOT (WINDOWS AND EMULATOR))
    run_step(${player} --help)
    # The help text wraps long paths; compare without the white space.
    string(REGEX REPLACE "[ \n]+" "" help "${step_output}")
    foreach(installed "${prefix}/${MODULE_DESTINATION}/" "${prefix}/share/kxCam/samples")
        string(REGEX REPLACE "[ \n]+" "" installed "${installed}")
        string(FIND "${help}" "${installed}" found)
        if(found EQUAL -1)
            message(FATAL_ERROR "the installed kxcam-play should default to ${installed}:\n${step_output}")
        endif()
    endforeach()
endif()
run_step(${EMULATOR} ${player} --quiet)
message(STATUS "installed kxcam-play: ${step_output}")
if(NOT step_output MATCHES "^summary: 8 frames delivered, ")
    message(FATAL_ERROR "the installed kxcam-play should play the 8 installed sample frames")
endif()
