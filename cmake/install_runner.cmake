# Installs tessak-run with the engine:
#   bin/tessak-run                        the runner
#   share/tessak-run/font.png, icon.ico   its font and window icon (found from bin/)
#   share/tessak-run/examples/games/      the example games: tessak-run <folder>
install(TARGETS tessak-run RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT engine)
install(FILES ${PROJECT_SOURCE_DIR}/resources/font.png ${PROJECT_SOURCE_DIR}/resources/icon.ico
  DESTINATION ${CMAKE_INSTALL_DATADIR}/tessak-run COMPONENT engine)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/games
  DESTINATION ${CMAKE_INSTALL_DATADIR}/tessak-run/examples COMPONENT engine)
