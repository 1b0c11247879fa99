# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the game like a Linux desktop game: the program to bin/, its data to
# share/zibble-quarvel/ (where the program looks when nothing lies beside it),
# a desktop entry, the icon in the hicolor theme and AppStream metainfo.
# The folder names are fixed, not taken from GNUInstallDirs: the program finds
# its data through the relative path ../share/zibble-quarvel/.
set(ZQ_APP_ID org.example.ZibbleQuarvel)
set(ZQ_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)

install(TARGETS zibble-quarvel RUNTIME DESTINATION bin)
# The sound output, which the program loads from ../lib/zibble-quarvel/ when it first needs it.
install(TARGETS zq-sound-qt LIBRARY DESTINATION lib/zibble-quarvel)
install(FILES ${PROJECT_SOURCE_DIR}/resources/zqvl2.dat ${PROJECT_SOURCE_DIR}/resources/ZQVL2.HLP
        DESTINATION share/zibble-quarvel)
install(FILES ${ZQ_DESKTOP_DIR}/${ZQ_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${ZQ_DESKTOP_DIR}/${ZQ_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/art/icon-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${ZQ_APP_ID}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/art/icon.svg
        DESTINATION share/icons/hicolor/scalable/apps RENAME ${ZQ_APP_ID}.svg)

# Removes what the last install wrote, as listed in its manifest.
add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
            -P ${PROJECT_SOURCE_DIR}/cmake/Uninstall.cmake
    COMMENT "Removing the installed files"
    VERBATIM)
