# The command-line tool, its manual page and bash completion, and a systemd
# user timer that runs its delete-all daily. The units are installed but not
# enabled: `systemctl --user enable --now jarvane-clean.timer` turns them on.
include(GNUInstallDirs)

install(TARGETS jarvane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES cli/jarvane-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES cli/jarvane-cli.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME jarvane-cli)

set(JARVANE_CLI_PROGRAM "${CMAKE_INSTALL_FULL_BINDIR}/jarvane-cli")
configure_file(cmake/install/jarvane-clean.service.in
               ${CMAKE_CURRENT_BINARY_DIR}/jarvane-clean.service @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/jarvane-clean.service cmake/install/jarvane-clean.timer
        DESTINATION lib/systemd/user)
