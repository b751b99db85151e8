# Installs the build into a fresh prefix and checks what a user's system
# would get: both programs, the desktop entry (valid) and the icons.
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
  share/icons/hicolor/scalable/apps/vxa-manager.svg)
foreach(size 16 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/vxa-manager.png)
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
message(STATUS "install OK: ${out}${err}")
file(REMOVE_RECURSE "${PREFIX}")
