# Installation: the four programs, a desktop entry and the icon; the
# gateway's systemd unit, its user and an example configuration.
include(GNUInstallDirs)
install(TARGETS kr60p-panel kr60p-ctl kr60p-sim kr60p-gateway RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Beside the programs, as they look for it: ../lib/kr60p-panel from bin/.
install(TARGETS kr60p_network LIBRARY DESTINATION lib/kr60p-panel)
install(FILES packaging/kr60p-panel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48)
  install(FILES assets/icon-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME kr60p-panel.png)
endforeach()
install(FILES assets/icon.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME kr60p-panel.svg)

# Manual pages, and the package's changelog, compressed as Debian has them.
set(compressed)
foreach(file docs/man/kr60p-panel.1 docs/man/kr60p-ctl.1 docs/man/kr60p-sim.1
    docs/man/kr60p-gateway.1 packaging/changelog)
  get_filename_component(name ${file} NAME)
  set(output ${CMAKE_BINARY_DIR}/compressed/${name}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/compressed
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip ${CMAKE_SOURCE_DIR}/${file} ${output}
    DEPENDS ${file} VERBATIM)
  list(APPEND compressed ${output})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed})
install(FILES ${CMAKE_BINARY_DIR}/compressed/kr60p-panel.1.gz
              ${CMAKE_BINARY_DIR}/compressed/kr60p-ctl.1.gz
              ${CMAKE_BINARY_DIR}/compressed/kr60p-sim.1.gz
              ${CMAKE_BINARY_DIR}/compressed/kr60p-gateway.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# Debian 12 keeps units in /lib, whatever the prefix.
install(FILES packaging/gateway/kr60p-gateway@.service DESTINATION /lib/systemd/system)
install(FILES packaging/gateway/kr60p-gateway.sysusers DESTINATION lib/sysusers.d
  RENAME kr60p-gateway.conf)
install(FILES packaging/gateway/kr60p-gateway.conf packaging/gateway/kr60p-alerts.yml
  DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
# A package with a Debian revision names its changelog as Debian's own.
install(FILES ${CMAKE_BINARY_DIR}/compressed/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR}
  RENAME changelog.Debian.gz)
install(FILES packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# A Debian package: cpack -G DEB in the build folder (scripts/check-package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kr60p-panel)
set(CPACK_PACKAGE_VENDOR "KR60P panel team")
set(CPACK_PACKAGE_CONTACT "KR60P panel team <panel@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control panel for a KR60P data projector on a serial line")
set(CPACK_PACKAGE_DESCRIPTION "\
One window operates one KR60P data projector over an RS-232C serial cable:
buttons that send fixed commands (power, input, mute, freeze, menu, picture
mode, signal type, key lock), buttons that repeat while held (volume,
brightness, zoom, keystone, the cursor keys), status queries decoded into
plain text, a trace of every byte sent and received, and typed commands.
.
The device behind COM1 and COM2, a serial line or a serial-to-Ethernet
device server (raw TCP or RFC 2217), can be chosen from the window; a
device that is unplugged or a server that goes away is reported at once and
reopened when it is back. A traffic log can be kept with --log.
.
The package also holds kr60p-ctl, which sends the same commands from a
shell script, and kr60p-sim, a projector simulator on a pseudo-terminal or
TCP, for trying both without hardware, and kr60p-gateway, which serves the
projector on the network as a PJLink Class 2 projector, a web control page
with a JSON API and Prometheus metrics (a systemd template unit, one
instance per projector) and shares its line with the panel and kr60p-ctl.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.invalid/kr60p-panel")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, adduser")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/packaging/gateway/postinst
  ${CMAKE_SOURCE_DIR}/packaging/gateway/prerm ${CMAKE_SOURCE_DIR}/packaging/gateway/postrm)
# The second release of 1.40: the gateway's new name.
set(CPACK_DEBIAN_PACKAGE_RELEASE 2)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
