# Installation: the program, its menu entry and its icon where a Debian desktop
# looks for them. Help, style and images are compiled into the program.
include(GNUInstallDirs)
install(TARGETS kachikoshi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/desktop/kachikoshi.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/icons/kachikoshi.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES resources/icons/kachikoshi.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kachikoshi)
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kachikoshi/examples)

# cpack -G DEB in the build folder makes a package for Debian 12.
set(CPACK_PACKAGE_NAME kachikoshi)
set(CPACK_PACKAGE_VENDOR "Kachikoshi Cup")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Runs a sumo prediction contest for a club during one basho")
set(CPACK_PACKAGE_CONTACT "Kachikoshi Cup <kachikoshi@example.org>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kachikoshi)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-ipaexfont-mincho, fonts-ipaexfont-gothic")
include(CPack)
