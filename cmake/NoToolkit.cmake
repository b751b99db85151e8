# Toolkit (Qt) code lives only in folders named "widgets"; the archive core,
# the plan, the scripts, the window's logic and the command-line tool build
# and run without it, and the tests rely on that. A toolkit include in any
# other source file is a configure error, on top of the compile error that the
# missing include path already gives.

# Every .h and .cpp file under `root` outside a widgets folder must include no
# toolkit header. A file added or changed there is checked at the next build.
function(vxa_forbid_toolkit_outside_widgets root)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${root}/*.h ${root}/*.cpp)
  foreach(src IN LISTS files)
    if(src MATCHES "/widgets/")
      continue()
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${src}")
    file(STRINGS "${src}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|qt)")
    if(hits)
      file(RELATIVE_PATH name ${PROJECT_SOURCE_DIR} ${src})
      message(FATAL_ERROR "${name} includes a toolkit header (${hits}); only files in a "
                          "folder named widgets may")
    endif()
  endforeach()
endfunction()

# A library of every source file in the given folders (relative to the
# current source folder), a program's main.cpp excepted. The headers are
# listed too, so that the toolkit's meta-object compiler sees them.
function(vxa_layer target)
  set(sources)
  foreach(dir ${ARGN})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
    list(FILTER found EXCLUDE REGEX "/main\\.cpp$")
    list(APPEND sources ${found})
  endforeach()
  add_library(${target} STATIC ${sources})
endfunction()

# A target that must stay free of the toolkit links no Qt library either.
function(vxa_forbid_toolkit target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  foreach(lib IN LISTS libs)
    if(lib MATCHES "^Qt")
      message(FATAL_ERROR "${target} links ${lib}; it must stay free of Qt")
    endif()
  endforeach()
endfunction()
