# Installs the build into a fresh prefix and checks what a user's system
# would get: both programs, the desktop entry (valid), the icons and the
# file types, which xdg-mime finds there.
# Run by CTest with -DBUILD_DIR=... -DPREFIX=...
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
set(expected
  bin/vxa-manager
  bin/vxa-tool
  share/applications/vxa-manager.desktop
  share/icons/hicolor/scalable/apps/vxa-manager.svg
  share/mime/packages/vxa-manager.xml)
foreach(size 16 32 48 64 128 256)
  foreach(icon apps/vxa-manager mimetypes/application-x-vxa-archive
          mimetypes/application-x-vxa-script)
    list(APPEND expected share/icons/hicolor/${size}x${size}/${icon}.png)
  endforeach()
endforeach()
foreach(f IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "missing after install: ${f}")
  endif()
endforeach()
execute_process(COMMAND "${PREFIX}/bin/vxa-tool" --version RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^vxa-tool [0-9]")
  message(FATAL_ERROR "installed vxa-tool --version: ${rc} ${out}")
endif()
find_program(VALIDATE desktop-file-validate REQUIRED)
execute_process(COMMAND "${VALIDATE}" "${PREFIX}/share/applications/vxa-manager.desktop"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR out MATCHES "error" OR err MATCHES "error")
  message(FATAL_ERROR "desktop-file-validate: ${out}${err}")
endif()
# As a desktop without a session asks, with this prefix as its only data.
execute_process(COMMAND update-mime-database "${PREFIX}/share/mime" RESULT_VARIABLE rc)
foreach(name archive.vxa script.vxc)
  get_filename_component(kind ${name} NAME_WE)
  set(type application/x-vxa-${kind})
  file(WRITE "${PREFIX}/${name}" "data")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=XDG_CURRENT_DESKTOP
                  --unset=KDE_FULL_SESSION --unset=GNOME_DESKTOP_SESSION_ID --unset=DESKTOP_SESSION
                  XDG_DATA_DIRS=${PREFIX}/share XDG_DATA_HOME=${PREFIX}/home
                  xdg-mime query filetype "${PREFIX}/${name}"
                  OUTPUT_VARIABLE got OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0 OR NOT got STREQUAL type)
    message(FATAL_ERROR "xdg-mime query filetype ${name}: '${got}', expected ${type}")
  endif()
endforeach()
message(STATUS "install OK: ${out}${err}")
file(REMOVE_RECURSE "${PREFIX}")
