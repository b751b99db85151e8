# Installation and the Debian package: both programs, the desktop entry and
# the icon in the hicolor theme.
include(GNUInstallDirs)

install(TARGETS vxa-manager vxa-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/vxa-manager.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/vxa-manager.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/hicolor/${size}/vxa-manager.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vxa-manager)
set(CPACK_PACKAGE_VENDOR "The VXA manager team")
set(CPACK_PACKAGE_CONTACT "The VXA manager team <vxa-manager@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Replace resources inside VXA game archives")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Desktop tool and command-line tool for modders: open a VXA archive, plan\n which entries are replaced by files on disk, and compile a new archive.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies are computed from the binaries (the Qt 6 runtime libraries).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
