# The window as a Windows application, built with Qt for Windows (MSVC or
# MinGW): a GUI program without a console, with its icon, version and
# manifest, and the system's network-drive names for the drive selector.
# Included by src/CMakeLists.txt on Windows only.
set(VXA_WINDOWS_RESOURCES ${PROJECT_SOURCE_DIR}/resources/windows)
configure_file(${VXA_WINDOWS_RESOURCES}/vxa-manager.rc.in
               ${PROJECT_BINARY_DIR}/vxa-manager.rc @ONLY)
target_sources(vxa-manager PRIVATE ${PROJECT_BINARY_DIR}/vxa-manager.rc)
set_target_properties(vxa-manager PROPERTIES WIN32_EXECUTABLE ON)
# The manifest comes from the .rc; MSVC's linker would add a second one.
if(MSVC)
  target_link_options(vxa-manager PRIVATE /MANIFEST:NO)
endif()
target_link_libraries(vxa_ui PRIVATE mpr)
