# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the game like a Linux desktop game: the program to bin/, its data to
# share/zibble-quarvel/ (where the program looks when nothing lies beside it),
# a desktop entry, the icon in the hicolor theme, AppStream metainfo, the saved-game
# type with its icon and the manual page.
# The folder names are fixed, not taken from GNUInstallDirs: the program finds
# its data through the relative path ../share/zibble-quarvel/. Only the program's
# folder may change (a Debian package puts games in games/), one level below the prefix.
set(ZQ_APP_ID org.example.ZibbleQuarvel)
set(ZQ_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)
set(ZQ_INSTALL_BINDIR bin CACHE STRING "Folder of the program below the prefix: bin or games")
if(NOT ZQ_INSTALL_BINDIR MATCHES "^[^/]+$")
    message(FATAL_ERROR "ZQ_INSTALL_BINDIR must be one folder below the prefix, or the data is not found: ${ZQ_INSTALL_BINDIR}")
endif()

install(TARGETS zibble-quarvel RUNTIME DESTINATION ${ZQ_INSTALL_BINDIR})
# The sound output, which the program loads from ../lib/zibble-quarvel/ when it first needs it.
install(TARGETS zq-sound-qt LIBRARY DESTINATION lib/zibble-quarvel)
install(FILES ${PROJECT_SOURCE_DIR}/resources/zqvl2.dat ${PROJECT_SOURCE_DIR}/resources/zqvl2.names
              ${PROJECT_SOURCE_DIR}/resources/ZQVL2.HLP
        DESTINATION share/zibble-quarvel)
install(FILES ${ZQ_DESKTOP_DIR}/${ZQ_APP_ID}.desktop DESTINATION share/applications)
# Collection files open with --collection, through an entry of their own that menus do not show.
install(FILES ${ZQ_DESKTOP_DIR}/${ZQ_APP_ID}.Collection.desktop DESTINATION share/applications)
install(FILES ${ZQ_DESKTOP_DIR}/${ZQ_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/art/icon-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${ZQ_APP_ID}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/art/icon.svg
        DESTINATION share/icons/hicolor/scalable/apps RENAME ${ZQ_APP_ID}.svg)
# Saved games and collection files: their types, so that a file manager opens them with the game, and their icons.
install(FILES ${ZQ_DESKTOP_DIR}/zibble-quarvel.xml DESTINATION share/mime/packages)
install(FILES ${ZQ_DESKTOP_DIR}/application-x-zibble-quarvel.svg
              ${ZQ_DESKTOP_DIR}/application-x-zibble-quarvel-collection.svg
        DESTINATION share/icons/hicolor/scalable/mimetypes)
install(FILES ${PROJECT_SOURCE_DIR}/resources/man/zibble-quarvel.6 DESTINATION share/man/man6)

# Removes what the last install wrote, as listed in its manifest.
add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
            -P ${PROJECT_SOURCE_DIR}/cmake/Uninstall.cmake
    COMMENT "Removing the installed files"
    VERBATIM)
