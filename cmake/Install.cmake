# Installation: the game and the headless runner, their data, a launcher for each that starts
# it from the data folder (the game reads data/ relative to where it runs), a desktop entry and
# an icon. `cmake --install BUILD --prefix DIR` lays them out under DIR.
include(GNUInstallDirs)

set(OMBRELIX_INSTALL_DATA "${CMAKE_INSTALL_DATADIR}/ombrelix")
set(OMBRELIX_INSTALL_PROGRAMS "${CMAKE_INSTALL_LIBEXECDIR}/ombrelix")

# The launchers find the prefix from their own place, so an installed tree can be moved.
file(RELATIVE_PATH OMBRELIX_BIN_TO_PREFIX "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix")

foreach(program ombrelix ombrelix-headless)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${OMBRELIX_INSTALL_PROGRAMS})
    set(OMBRELIX_PROGRAM ${program})
    configure_file(${CMAKE_SOURCE_DIR}/dist/launcher.sh.in
                   ${CMAKE_BINARY_DIR}/launchers/${program} @ONLY)
    install(PROGRAMS ${CMAKE_BINARY_DIR}/launchers/${program}
            DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# The run folder's data: the level as shipped and the generated models, textures and sounds,
# without the build's stamp files.
install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION ${OMBRELIX_INSTALL_DATA}/data
        PATTERN ".*" EXCLUDE)

install(FILES ${CMAKE_SOURCE_DIR}/dist/ombrelix.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/ombrelix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
