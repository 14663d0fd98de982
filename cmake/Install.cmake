# Installation: the game and the headless runner, their data, a launcher for each that starts
# it from the data folder (the game reads data/ relative to where it runs), a desktop entry, an
# icon, AppStream metadata and a manual page. `cmake --install BUILD --prefix DIR` lays them out
# under DIR; with OMBRELIX_GAMES_LAYOUT the layout is a Debian game's, and `make package` builds
# the .deb from it (cmake/Package.cmake).
include(GNUInstallDirs)

option(OMBRELIX_GAMES_LAYOUT "Lay out as a Debian game: games/, share/games/ombrelix, lib/games" OFF)
if(OMBRELIX_GAMES_LAYOUT)
  set(OMBRELIX_INSTALL_BIN games)
  set(OMBRELIX_INSTALL_DATA share/games/ombrelix)
  set(OMBRELIX_INSTALL_PROGRAMS lib/games/ombrelix)
else()
  set(OMBRELIX_INSTALL_BIN "${CMAKE_INSTALL_BINDIR}")
  set(OMBRELIX_INSTALL_DATA "${CMAKE_INSTALL_DATADIR}/ombrelix")
  set(OMBRELIX_INSTALL_PROGRAMS "${CMAKE_INSTALL_LIBEXECDIR}/ombrelix")
endif()

# The launchers find the prefix from their own place, so an installed tree can be moved.
file(RELATIVE_PATH OMBRELIX_BIN_TO_PREFIX "/prefix/${OMBRELIX_INSTALL_BIN}" "/prefix")

foreach(program ombrelix ombrelix-headless)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${OMBRELIX_INSTALL_PROGRAMS})
    set(OMBRELIX_PROGRAM ${program})
    configure_file(${CMAKE_SOURCE_DIR}/dist/launcher.sh.in
                   ${CMAKE_BINARY_DIR}/launchers/${program} @ONLY)
    install(PROGRAMS ${CMAKE_BINARY_DIR}/launchers/${program} DESTINATION ${OMBRELIX_INSTALL_BIN})
  endif()
endforeach()

# The run folder's data: the level as shipped and everything the generator made (models,
# textures, sounds), without the build's stamp files.
install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION ${OMBRELIX_INSTALL_DATA}/data
        PATTERN ".*" EXCLUDE)

install(FILES ${CMAKE_SOURCE_DIR}/dist/ombrelix.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/ombrelix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/dist/org.example.ombrelix.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual page and changelog compressed the way Debian wants them (no name or time stamp), and
# the runner's page as a link to the game's, which describes both.
set(OMBRELIX_DOCS ${CMAKE_BINARY_DIR}/docs)
configure_file(${CMAKE_SOURCE_DIR}/dist/ombrelix.6.in ${OMBRELIX_DOCS}/ombrelix.6 @ONLY)
add_custom_command(OUTPUT ${OMBRELIX_DOCS}/ombrelix.6.gz ${OMBRELIX_DOCS}/changelog.gz
                          ${OMBRELIX_DOCS}/ombrelix-headless.6.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${OMBRELIX_DOCS}
  COMMAND gzip -9n -c ${OMBRELIX_DOCS}/ombrelix.6 > ${OMBRELIX_DOCS}/ombrelix.6.gz
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/dist/changelog > ${OMBRELIX_DOCS}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E create_symlink ombrelix.6.gz ${OMBRELIX_DOCS}/ombrelix-headless.6.gz
  DEPENDS ${OMBRELIX_DOCS}/ombrelix.6 ${CMAKE_SOURCE_DIR}/dist/changelog
  COMMENT "Compressing the manual page and the changelog")
add_custom_target(docs ALL DEPENDS ${OMBRELIX_DOCS}/ombrelix.6.gz)
install(FILES ${OMBRELIX_DOCS}/ombrelix.6.gz ${OMBRELIX_DOCS}/ombrelix-headless.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${OMBRELIX_DOCS}/changelog.gz ${CMAKE_SOURCE_DIR}/dist/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/ombrelix)

include(${CMAKE_SOURCE_DIR}/cmake/Package.cmake)
