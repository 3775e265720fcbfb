# Installation, relative to the prefix given when installing (cmake --install
# build --prefix DIR, else CMAKE_INSTALL_PREFIX), and stageable with DESTDIR:
# the program, its help book and sound under share/jarvane, icons, a desktop
# entry, an AppStream description, a manual page, and the launcher
# jarvane-desktop, which starts the program in a per-user working folder ($XDG_DATA_HOME/jarvane, by
# default ~/.local/share/jarvane) filled by the same step as the run command's.
include(GNUInstallDirs)

set(JARVANE_DATA_DIR ${CMAKE_INSTALL_DATADIR}/jarvane)
# The data folder as seen from the program's folder: the program and the
# launcher find it from where they are, wherever the tree was installed.
file(RELATIVE_PATH JARVANE_DATA_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/jarvane)
target_compile_definitions(jarvane_gui PRIVATE
                           JARVANE_DATA_FROM_PROGRAM="${JARVANE_DATA_FROM_PROGRAM}")

install(TARGETS jarvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY res/help/ DESTINATION ${JARVANE_DATA_DIR}/help)
install(FILES res/Sounds/Yes.WAV DESTINATION ${JARVANE_DATA_DIR}/Sounds)
install(PROGRAMS scripts/prepare-workdir.sh DESTINATION ${JARVANE_DATA_DIR})
configure_file(cmake/install/jarvane-desktop.in ${CMAKE_CURRENT_BINARY_DIR}/jarvane-desktop @ONLY)
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/jarvane-desktop DESTINATION ${CMAKE_INSTALL_BINDIR})

foreach(size 16 32)
  install(FILES res/artwork/icon_app_${size}.xpm
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME jarvane.xpm)
endforeach()
foreach(size 48 64 128 256)
  install(FILES res/artwork/icon_app_${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME jarvane.png)
endforeach()
install(FILES cmake/install/io.github.jarvane.Jarvane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# One manual page for the program and its launcher (jarvane-desktop.1 links to it).
install(FILES res/man/jarvane.1 res/man/jarvane-desktop.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The desktop entry names the launcher by its full path, known only when
# installing; DESTDIR stages it without entering the path.
install(CODE "
  set(JARVANE_LAUNCHER \"${CMAKE_INSTALL_BINDIR}/jarvane-desktop\")
  if(NOT IS_ABSOLUTE \"\${JARVANE_LAUNCHER}\")
    set(JARVANE_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/\${JARVANE_LAUNCHER}\")
  endif()
  configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/cmake/install/jarvane.desktop.in\"
                 \"${CMAKE_CURRENT_BINARY_DIR}/jarvane.desktop\" @ONLY)
")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/jarvane.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
