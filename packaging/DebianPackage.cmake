# `make package` (cpack in the build folder): fyrel_<version>_<arch>.deb, laid out as Debian's
# policy wants a game: the command in /usr/games, everything else as `cmake --install` puts it
# below /usr. Included by CMakeLists.txt after DesktopFiles.cmake, whose facts it uses.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fyrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${FYREL_DEVELOPERS})
set(CPACK_PACKAGE_CONTACT ${FYREL_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL ${FYREL_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${FYREL_SUMMARY})
set(CPACK_PACKAGE_DESCRIPTION_FILE ${FYREL_DESCRIPTION_FILE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
# Folders the install makes on its way are 0755 whatever the umask of whoever builds.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${FYREL_MAINTAINER})
# The libraries the binary links decide the dependencies, through dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# Debian keeps games' commands in /usr/games. games/ sits beside bin/, so what the command finds
# from its own folder (the data in ../share/fyrel) it still finds after the move.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/DebianGamesLayout.cmake)
set(CPACK_FYREL_INSTALL_BINDIR ${FYREL_INSTALL_BINDIR})
set(CPACK_FYREL_GAMES_BINDIR games)

include(CPack)
