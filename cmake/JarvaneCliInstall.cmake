# The command-line tool, its manual page and bash completion, and a systemd
# user timer that runs its delete-all daily. The units are installed but not
# enabled: `systemctl --user enable --now jarvane-clean.timer` turns them on.
include(GNUInstallDirs)

install(TARGETS jarvane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES cli/jarvane-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES cli/jarvane-cli.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME jarvane-cli)

# The unit names the program by its full path, known only when installing
# (DESTDIR stages it without entering the path). Under share/, not lib/: the
# user manager looks in $XDG_DATA_HOME and $XDG_DATA_DIRS, so a --prefix ~/.local
# install is found as well as a system-wide one.
install(CODE "
  set(JARVANE_CLI_PROGRAM \"${CMAKE_INSTALL_BINDIR}/jarvane-cli\")
  if(NOT IS_ABSOLUTE \"\${JARVANE_CLI_PROGRAM}\")
    set(JARVANE_CLI_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/\${JARVANE_CLI_PROGRAM}\")
  endif()
  configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/cmake/install/jarvane-clean.service.in\"
                 \"${CMAKE_CURRENT_BINARY_DIR}/jarvane-clean.service\" @ONLY)
")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/jarvane-clean.service cmake/install/jarvane-clean.timer
        DESTINATION ${CMAKE_INSTALL_DATADIR}/systemd/user)
