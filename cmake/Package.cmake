# The Debian package: `make package` configures a build with OMBRELIX_GAMES_LAYOUT and the
# distribution's hardening flags and runs CPack's DEB generator there. The runner goes in as
# /usr/games/ombrelix-headless: it is how the installed game is checked without a display.
# CPack installs what `make package` built: the game, the runner, the data and the documents,
# not every test and benchmark.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ombrelix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cockpit space shooter with asteroids and enemy fighters")
set(CPACK_PACKAGE_DESCRIPTION
    "Fly a small ship from its cockpit through a field of asteroids, bonus items
and enemy fighters inside a star sky. Fire laser bolts from two alternating
guns, watch two radar scopes and the energy bar, and win by destroying the
level's target. Played with the keyboard or a gamepad, in a window or full
screen.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Ombrelix developers <ombrelix@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The text on screen needs a font fontconfig can find; Mesa draws when there is no GPU driver.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
include(CPack)
