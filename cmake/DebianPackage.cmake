# The Linux program's installed layout and its Debian package (CPack's DEB generator):
#   cpack -G DEB        in a native build tree, or scripts/package.sh for the release.
include(GNUInstallDirs)

# The package installs under /usr; the doc folder carries the package's name, not the project's.
set(PORTMAVEN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/portmaven)
# The .deb is made from what is built, not by building everything first (the Windows tree).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS portmaven RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/res/linux/portmaven.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/res/art/portmaven-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME portmaven.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${PORTMAVEN_DOC_DIR})
# Debian reads a package's licence from copyright, and wants a compressed changelog beside it
# (changelog.gz: the version has no Debian revision, so the package is a native one).
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${PORTMAVEN_DOC_DIR} RENAME copyright)
# Debian's documentation files are compressed the reproducible way (no name, no time stamp).
function(portmaven_gzip file)
    execute_process(COMMAND gzip -9nkf ${file} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "gzip could not compress ${file}")
    endif()
endfunction()

set(changelog ${PROJECT_BINARY_DIR}/debian/changelog)
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${changelog}
    "portmaven (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
    "  * Release ${PROJECT_VERSION}.\n\n"
    " -- The Portmaven developers <maintainers@portmaven.example>  ${changelog_date}\n")
portmaven_gzip(${changelog})
install(FILES ${changelog}.gz DESTINATION ${PORTMAVEN_DOC_DIR})
set(manual ${PROJECT_BINARY_DIR}/debian/portmaven.1)
configure_file(${PROJECT_SOURCE_DIR}/res/linux/portmaven.1 ${manual} COPYONLY)
portmaven_gzip(${manual})
install(FILES ${manual}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME portmaven)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Portmaven developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tray utility that opens your commands on serial ports")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/deb)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # portmaven_<version>_amd64.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Portmaven developers <maintainers@portmaven.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://portmaven.example")
# The summary above is the synopsis line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Portmaven lives in the system tray. A click on its icon lists the serial
ports present at that moment (USB adapters, boards with a CDC ACM port),
and every port opens the same menu of your own commands, so that a
terminal starts already pointed at the port. It tells you when ports come
and go.")
# The dependencies are the libraries the binary links, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Wayland plugin: without it a Wayland session runs the program through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)
