# Builds and runs the consumer project in one of two modes (MODE):
#   installed   installs the build tree into a prefix inside it, then builds
#               the consumer against that prefix and runs it and the installed player;
#   subproject  builds the consumer with our source tree (KXCAM_SOURCE_DIR) as
#               its subdirectory, runs it on SAMPLES_DIR, and checks that none of
#               our programs and tests came along into its build.
# Arguments: MODE, BUILD_DIR, SOURCE_DIR, GENERATOR, MODULE_DESTINATION (where
# the module is installed), WINDOWS (the programs are Windows programs),
# LAUNCHER (the compiler launcher); for a cross build also TOOLCHAIN, QT5_DIR
# and EMULATOR.
set(prefix ${BUILD_DIR}/consumer-test-${MODE}/prefix)
set(consumer_build ${BUILD_DIR}/consumer-test-${MODE}/build)
file(REMOVE_RECURSE ${BUILD_DIR}/consumer-test-${MODE})

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

if(LAUNCHER)
    list(APPEND cross -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()
if(MODE STREQUAL "installed")
    run_step(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
    set(mode_arguments -DCMAKE_PREFIX_PATH=${prefix})
else()
    set(mode_arguments -DKXCAM_SOURCE_DIR=${KXCAM_SOURCE_DIR} -DSAMPLES_DIR=${SAMPLES_DIR})
endif()
run_step(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${consumer_build} -G ${GENERATOR} ${mode_arguments} ${cross})
run_step(${CMAKE_COMMAND} --build ${consumer_build})
file(GLOB consumer ${consumer_build}/consumer ${consumer_build}/consumer.exe)
run_step(${EMULATOR} ${consumer})
message(STATUS "consumer: ${step_output}")
if(NOT step_output MATCHES "\n8 frames\n$")
    message(FATAL_ERROR "the consumer should play the 8 sample frames")
endif()

if(MODE STREQUAL "subproject")
    # Only the module and the interface come with our source tree: no program,
    # benchmark or test is built, and the host's ctest knows no test of ours.
    file(GLOB_RECURSE ours LIST_DIRECTORIES false ${consumer_build}/kxcam/tst_* ${consumer_build}/kxcam/kxcam-*
         ${consumer_build}/kxcam/kxcam_bench* ${consumer_build}/kxcam/make_sample_set*)
    list(TRANSFORM ours REPLACE ".*/" "")
    list(REMOVE_DUPLICATES ours)
    if(ours)
        message(FATAL_ERROR "the host's build should hold none of our programs and tests: ${ours}")
    endif()
    execute_process(COMMAND ${CMAKE_CTEST_COMMAND} -N WORKING_DIRECTORY ${consumer_build} OUTPUT_VARIABLE tests)
    if(NOT tests MATCHES "Total Tests: 0")
        message(FATAL_ERROR "the host's ctest should know none of our tests:\n${tests}")
    endif()
    return()
endif()

# The viewer is installed beside the player.
file(GLOB viewer ${prefix}/bin/kxcam-view*)
if(NOT viewer)
    message(FATAL_ERROR "kxcam-view should be installed in ${prefix}/bin")
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
