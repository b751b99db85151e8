# Installation and the Debian package: both programs, the desktop entry, the
# two file types it opens (archives and scripts), the icons in the hicolor
# theme, the manual pages, the shell completion and the software centre's
# metadata. The package needs no scripts of its own: the desktop's databases
# of entries, types and icons are updated by their own packages' triggers.
# On Windows, a folder holding the programs and what they need to run.
include(GNUInstallDirs)

if(WIN32)
  # One folder that runs as it is: both programs, and beside them the Qt
  # libraries and plugins the window needs, which Qt's windeployqt copies.
  install(TARGETS vxa-manager vxa-tool RUNTIME DESTINATION .)
  find_program(VXA_WINDEPLOYQT windeployqt HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS} REQUIRED)
  install(CODE "execute_process(COMMAND \"${VXA_WINDEPLOYQT}\" --no-translations
                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/vxa-manager.exe\" COMMAND_ERROR_IS_FATAL ANY)")
  return()
endif()

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

# The manual pages, written in scdoc's light markup and made into roff (and
# compressed, as Debian ships them) at build time.
find_program(VXA_SCDOC scdoc REQUIRED)
set(man_pages)
foreach(page vxa-tool vxa-manager)
  set(source ${PROJECT_BINARY_DIR}/man/${page}.1.scd)
  set(page_gz ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
  configure_file(${PROJECT_SOURCE_DIR}/resources/man/${page}.1.scd ${source} @ONLY)
  add_custom_command(OUTPUT ${page_gz}
    COMMAND sh -c "\"$0\" < \"$1\" > \"$2\"" ${VXA_SCDOC} ${source} ${PROJECT_BINARY_DIR}/man/${page}.1
    COMMAND gzip -9nf ${PROJECT_BINARY_DIR}/man/${page}.1
    DEPENDS ${source} VERBATIM)
  list(APPEND man_pages ${page_gz})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${PROJECT_SOURCE_DIR}/resources/vxa-tool.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME vxa-tool)
install(FILES ${PROJECT_SOURCE_DIR}/resources/invalid.vxa_manager.VxaManager.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# What Debian asks of every package's documentation folder: the copyright
# and a changelog in Debian's format (one entry, for this version; the
# history itself is the repository's), compressed as Debian ships it.
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${PROJECT_BINARY_DIR}/deb/changelog
     "vxa-manager (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
     "  * Version ${PROJECT_VERSION}.\n\n"
     " -- The VXA manager team <vxa-manager@users.noreply.invalid>  ${changelog_date}\n")
execute_process(COMMAND gzip -9nf ${PROJECT_BINARY_DIR}/deb/changelog COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${PROJECT_SOURCE_DIR}/resources/deb/copyright ${PROJECT_BINARY_DIR}/deb/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vxa-manager)
set(CPACK_PACKAGE_VENDOR "The VXA manager team")
set(CPACK_PACKAGE_CONTACT "The VXA manager team <vxa-manager@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Replace resources inside VXA game archives")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Desktop tool and command-line tool for modders: open a VXA archive, plan\n which entries are replaced by files on disk, and compile a new archive.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The package is built from the tests' build folder too, which keeps its
# debugging symbols; the package's binaries go without.
set(CPACK_STRIP_FILES ON)
# Dependencies are computed from the binaries (the Qt 6 runtime libraries).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The layout is drawn for a narrow 13-pixel sans serif: with a wider font
# (DejaVu Sans, the usual fallback) captions and numbers do not fit.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation2)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
