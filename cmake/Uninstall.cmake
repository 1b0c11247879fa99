# SPDX-License-Identifier: GPL-3.0-or-later
# Script mode: cmake -DMANIFEST=<install_manifest.txt> -P Uninstall.cmake
# Removes every file an install listed in its manifest. Folders stay: shared
# ones such as share/applications may hold other programs' files.
# The manifest names files without DESTDIR, so a staged install is removed
# with the same DESTDIR it was installed with.
if(NOT MANIFEST)
    message(FATAL_ERROR "Uninstall: MANIFEST is not set")
endif()
if(NOT EXISTS "${MANIFEST}")
    message(FATAL_ERROR "Uninstall: ${MANIFEST} does not exist; nothing was installed from this build")
endif()
file(STRINGS "${MANIFEST}" installed)
set(failed "")
foreach(listed IN LISTS installed)
    set(file "$ENV{DESTDIR}${listed}")
    if(IS_SYMLINK "${file}" OR EXISTS "${file}")
        message(STATUS "Removing ${file}")
        file(REMOVE "${file}")
        if(IS_SYMLINK "${file}" OR EXISTS "${file}")
            list(APPEND failed "${file}")
        endif()
    else()
        message(STATUS "Already gone: ${file}")
    endif()
endforeach()
if(failed)
    string(REPLACE ";" "\n  " failed "${failed}")
    message(FATAL_ERROR "Uninstall: could not remove\n  ${failed}")
endif()
