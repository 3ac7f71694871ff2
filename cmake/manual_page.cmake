# Writes a program's manual page, gzipped, with help2man from the program's own
# --help and --version and an include file (its name line and examples). The
# help names the build tree's module and sample set as defaults: the page names
# where they are installed.
# Arguments: PROGRAM, HELP2MAN, INCLUDE, PAGE (NAME.1.gz), PATHS (build path,
# installed path, ... separated by |).
get_filename_component(name ${PROGRAM} NAME)
set(work ${PAGE}.work)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})

function(program_output option variable)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PROGRAM} ${option}
                    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${PROGRAM} ${option} failed (${status}): ${errors}")
    endif()
    set(${variable} "${output}" PARENT_SCOPE)
endfunction()
program_output(--help help)
program_output(--version version)
string(REPLACE "Usage: ${PROGRAM}" "Usage: ${name}" help "${help}")
# The help's exit status paragraph becomes a section of its own.
string(REPLACE "\nExit status: " "\n\n*Exit Status*\n" help "${help}")

# The help wraps a long path anywhere, so a path is matched with line breaks
# and indentation allowed between its characters.
string(REPLACE "|" ";" paths "${PATHS}")
while(paths)
    list(POP_FRONT paths built installed)
    string(LENGTH "${built}" length)
    math(EXPR last "${length} - 1")
    set(pattern "")
    foreach(index RANGE ${last})
        string(SUBSTRING "${built}" ${index} 1 character)
        string(REGEX REPLACE "([][.*+?^$()|\\])" "\\\\\\1" character "${character}")
        string(APPEND pattern "[\n ]*${character}")
    endforeach()
    string(REGEX REPLACE "${pattern}[\n ]*\\)" " ${installed})" help "${help}")
    string(REGEX REPLACE "${pattern}" " ${installed}" help "${help}")
endwhile()

file(WRITE ${work}/help.txt "${help}")
file(WRITE ${work}/version.txt "${version}")
# help2man reads the texts through a stand-in of the program with its name.
file(WRITE ${work}/stand-in "#!/bin/sh\ncase \"$1\" in --help) cat '${work}/help.txt' ;; *) cat '${work}/version.txt' ;; esac\n")
file(COPY ${work}/stand-in DESTINATION ${work}/bin FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
file(RENAME ${work}/bin/stand-in ${work}/bin/${name})
string(REGEX REPLACE "\\.gz$" "" page "${PAGE}")
execute_process(COMMAND ${HELP2MAN} --no-info --include=${INCLUDE} --output=${page} ${work}/bin/${name}
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "help2man failed for ${name} (${status}): ${errors}")
endif()
execute_process(COMMAND gzip -9nf ${page} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip failed for ${page}")
endif()
file(REMOVE_RECURSE ${work})
