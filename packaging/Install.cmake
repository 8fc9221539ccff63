# Installation: the two programs, a desktop entry and the icon.
include(GNUInstallDirs)
install(TARGETS kr60p-panel kr60p-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/kr60p-panel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48)
  install(FILES assets/icon-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME kr60p-panel.png)
endforeach()
install(FILES assets/icon.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME kr60p-panel.svg)

# A Debian package: cpack -G DEB in the build folder (scripts/check-package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kr60p-panel)
set(CPACK_PACKAGE_VENDOR "KR60P panel team")
set(CPACK_PACKAGE_CONTACT "KR60P panel team <panel@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Control panel for a KR60P data projector on a serial line")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
include(CPack)
