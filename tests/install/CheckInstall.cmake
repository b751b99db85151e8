# Installs the build into a fresh prefix and checks what a user's system
# would get: both programs, their manual pages, the desktop entry and the
# software centre's metadata (both valid), the icons, the file types, which
# xdg-mime finds there, and the shell completion of vxa-tool.
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
  share/bash-completion/completions/vxa-tool
  share/doc/vxa-manager/changelog.gz
  share/doc/vxa-manager/copyright
  share/icons/hicolor/scalable/apps/vxa-manager.svg
  share/man/man1/vxa-manager.1.gz
  share/man/man1/vxa-tool.1.gz
  share/metainfo/invalid.vxa_manager.VxaManager.metainfo.xml
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
find_program(APPSTREAMCLI appstreamcli REQUIRED)
execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net
                "${PREFIX}/share/metainfo/invalid.vxa_manager.VxaManager.metainfo.xml"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate: ${out}${err}")
endif()
# The completion offers the commands, then each command's options.
foreach(case "co|compile" "compile --|--skip-missing --from --" "run --|--out --")
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 words)
  list(GET case 1 expected_words)
  execute_process(COMMAND bash -c "source \"$0\"; COMP_WORDS=(vxa-tool $1)
                  COMP_CWORD=$((\${#COMP_WORDS[@]} - 1)); _vxa_tool; echo \"\${COMPREPLY[*]}\""
                  "${PREFIX}/share/bash-completion/completions/vxa-tool" "${words}"
                  OUTPUT_VARIABLE got OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT got STREQUAL expected_words)
    message(FATAL_ERROR "completion of 'vxa-tool ${words}': '${got}', expected '${expected_words}'")
  endif()
endforeach()
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
