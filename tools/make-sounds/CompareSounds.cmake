# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: cmake -DTOOL=... -DOUT=... -DREF=... -P CompareSounds.cmake
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${TOOL}" "${OUT}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "make-sounds failed: ${rc}")
endif()
foreach(n RANGE 1 6)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
        "${OUT}/sound${n}.wav" "${REF}/sound${n}.wav" RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
        message(FATAL_ERROR "sound${n}.wav differs from the committed one; rerun zq_make_sounds ${REF}")
    endif()
endforeach()
