# Installation and the Debian package: both programs, the desktop entry, the
# two file types it opens (archives and scripts) and the icons in the hicolor
# theme. The package needs no scripts of its own: the desktop's databases of
# entries, types and icons are updated by their own packages' triggers.
include(GNUInstallDirs)

install(TARGETS vxa-manager vxa-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/vxa-manager.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/vxa-manager.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
set(icons_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
foreach(icon apps/vxa-manager mimetypes/application-x-vxa-archive
        mimetypes/application-x-vxa-script)
  get_filename_component(context ${icon} DIRECTORY)
  get_filename_component(name ${icon} NAME)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/${name}.svg
          DESTINATION ${icons_dir}/scalable/${context})
  foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/hicolor/${size}/${name}.png
            DESTINATION ${icons_dir}/${size}x${size}/${context})
  endforeach()
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
# The layout is drawn for a narrow 13-pixel sans serif: with a wider font
# (DejaVu Sans, the usual fallback) captions and numbers do not fit.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation2)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
