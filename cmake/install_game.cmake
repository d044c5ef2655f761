# Installs the game for a Linux desktop:
#   lib/tessak/tessak, lib/tessak/resources/   the program beside the pictures it loads
#   bin/tessak                                 a launcher that starts it in that folder
#   share/applications/tessak.desktop          the menu entry
#   share/icons/hicolor/48x48/apps/tessak.png  its icon
set(tessak_game_folder ${CMAKE_INSTALL_LIBDIR}/tessak)
install(TARGETS tessak RUNTIME DESTINATION ${tessak_game_folder} COMPONENT game)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/ DESTINATION ${tessak_game_folder}/resources
  COMPONENT game)

file(RELATIVE_PATH tessak_launcher_to_game
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${tessak_game_folder})
configure_file(${PROJECT_SOURCE_DIR}/packaging/linux/tessak-launcher.sh.in
  ${PROJECT_BINARY_DIR}/packaging/tessak @ONLY)
install(PROGRAMS ${PROJECT_BINARY_DIR}/packaging/tessak DESTINATION ${CMAKE_INSTALL_BINDIR}
  COMPONENT game)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/linux/tessak.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/linux/tessak-48.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME tessak.png COMPONENT game)
