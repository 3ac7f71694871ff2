# The MinGW-w64 runtime DLLs every program of a MinGW build loads (GCC's C++
# and support libraries, and POSIX threads), as the compiler finds them.
function(kxcam_mingw_runtime_dlls out)
    set(dlls)
    foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                        OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
        get_filename_component(runtime_path "${runtime_path}" ABSOLUTE)
        if(NOT EXISTS "${runtime_path}")
            message(FATAL_ERROR "${CMAKE_CXX_COMPILER} knows no ${runtime}")
        endif()
        list(APPEND dlls "${runtime_path}")
    endforeach()
    set(${out} "${dlls}" PARENT_SCOPE)
endfunction()
