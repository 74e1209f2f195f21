# What a desktop installs beside the program (menu entry, icons, AppStream
# metainfo, manual page, copyright and changelog), and the Debian package
# made of it all: `cpack -G DEB` in the build folder (`make package`) writes
# quorvane_<version>_amd64.deb.
include(GNUInstallDirs)

set(QUORVANE_RESOURCES ${PROJECT_SOURCE_DIR}/resources)
set(QUORVANE_APP_ID org.quorvane.Quorvane)
set(QUORVANE_PACKAGE_MAINTAINER "The Quorvane Tournament Manager developers <developers@quorvane.invalid>"
    CACHE STRING "The Maintainer of the Debian package")
# Debian's permissions for the folders installed, whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(FILES ${QUORVANE_RESOURCES}/quorvane.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUORVANE_RESOURCES}/${QUORVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${QUORVANE_RESOURCES}/quorvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The PNG sizes are drawn once from quorvane.svg and kept with it, so that
# the build needs no SVG renderer:
#   for n in 16 22 24 32 48 64 128 256; do
#       rsvg-convert -w $n -h $n quorvane.svg -o icons/${n}x$n/quorvane.png; done
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${QUORVANE_RESOURCES}/icons/${size}x${size}/quorvane.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The manual page and the changelog are installed compressed, without a
# time stamp in the gzip header, so that the same sources give the same files.
configure_file(${QUORVANE_RESOURCES}/quorvane.1.in ${CMAKE_BINARY_DIR}/doc/quorvane.1 @ONLY)
configure_file(${QUORVANE_RESOURCES}/changelog ${CMAKE_BINARY_DIR}/doc/changelog COPYONLY)
add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/doc/quorvane.1.gz ${CMAKE_BINARY_DIR}/doc/changelog.gz
    COMMAND gzip -9nkf quorvane.1 changelog
    DEPENDS ${CMAKE_BINARY_DIR}/doc/quorvane.1 ${CMAKE_BINARY_DIR}/doc/changelog
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/doc
    COMMENT "Compressing the manual page and the changelog"
    VERBATIM)
add_custom_target(quorvane_docs ALL
    DEPENDS ${CMAKE_BINARY_DIR}/doc/quorvane.1.gz ${CMAKE_BINARY_DIR}/doc/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/doc/quorvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${QUORVANE_RESOURCES}/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quorvane Tournament Manager developers")
set(CPACK_PACKAGE_CONTACT "${QUORVANE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tournament manager for the seven-player strategy board game")
# Lines of at most 80 characters, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION [[
A tournament director runs it on one computer to register players, seed
each heat into games of seven while avoiding repeated opponents and powers,
type in the results, score them with formulas of his own, and print and
export the standings.

Every event lives in one SQLite database file, reached through unixODBC and
the SQLite ODBC driver, or in a shared PostgreSQL database when several desks
enter results at once. A venue display serves the live seating and standings
to the players' phones and to a projector.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUORVANE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links are found by dpkg-shlibdeps; the ODBC
# pieces are loaded at run time: the driver manager, Qt's ODBC plugin, the
# SQLite driver and odbcinst (which the postinst registers the driver with).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "unixodbc, odbcinst, libsqliteodbc, libqt6sql6-odbc")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "odbc-postgresql")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${QUORVANE_RESOURCES}/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
