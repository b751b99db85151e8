# The archive core, the plan and the script logic must build and run without
# the widget toolkit: the command-line tool and the tests rely on it. This
# makes a toolkit include or link in such a target a configure error, on top
# of the compile error that the missing include path already gives.
function(vxa_forbid_toolkit target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  foreach(src IN LISTS sources)
    if(NOT IS_ABSOLUTE "${src}")
      set(src "${source_dir}/${src}")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${src}")
    file(STRINGS "${src}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|qt)")
    if(hits)
      message(FATAL_ERROR "${src} includes a toolkit header (${hits}); "
                          "${target} must stay free of Qt")
    endif()
  endforeach()
  get_target_property(libs ${target} LINK_LIBRARIES)
  foreach(lib IN LISTS libs)
    if(lib MATCHES "^Qt")
      message(FATAL_ERROR "${target} links ${lib}; it must stay free of Qt")
    endif()
  endforeach()
endfunction()
