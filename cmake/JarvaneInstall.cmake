# Installation: the program, its help book, sound and icons, a desktop entry,
# and a launcher that starts the program in a per-user working folder
# ($XDG_DATA_HOME/jarvane, by default ~/.local/share/jarvane), where it keeps
# its files and finds its help and sound, as the run command does in .run/.
include(GNUInstallDirs)

set(JARVANE_DATA_DIR "${CMAKE_INSTALL_FULL_DATADIR}/jarvane")
# The help viewer looks in the installed data folder after the working folder.
target_compile_definitions(jarvane_gui PRIVATE JARVANE_DATA_DIR="${JARVANE_DATA_DIR}")

install(TARGETS jarvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY res/help/ DESTINATION ${JARVANE_DATA_DIR}/help)
install(FILES res/Sounds/Yes.WAV DESTINATION ${JARVANE_DATA_DIR}/Sounds)
install(FILES res/artwork/icon_app_32.xpm
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME jarvane.xpm)
install(FILES res/artwork/icon_app_16.xpm
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/16x16/apps RENAME jarvane.xpm)

set(JARVANE_PROGRAM "${CMAKE_INSTALL_FULL_BINDIR}/jarvane")
set(JARVANE_LAUNCHER "${CMAKE_INSTALL_FULL_BINDIR}/jarvane-desktop")
configure_file(cmake/install/jarvane-desktop.in ${CMAKE_CURRENT_BINARY_DIR}/jarvane-desktop @ONLY)
configure_file(cmake/install/jarvane.desktop.in ${CMAKE_CURRENT_BINARY_DIR}/jarvane.desktop @ONLY)
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/jarvane-desktop DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/jarvane.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
