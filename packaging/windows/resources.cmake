# The resources of ondulix.exe (windows/ondulix.rc): the icon at 16, 32, 48
# and 256 pixels, drawn from earth.bmp at build time by the generator of the
# .deb's icons (make_icon, built for the build machine by host/, since a
# cross build cannot run what it builds); the version of project(); the
# application manifest.
include(ExternalProject)
set(tools_dir ${CMAKE_CURRENT_BINARY_DIR}/build-tools)
set(make_icon ${tools_dir}/make_icon${CMAKE_HOST_EXECUTABLE_SUFFIX})
ExternalProject_Add(build_tools
  SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/host
  BINARY_DIR ${tools_dir}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON # its own build knows when its sources changed
  BUILD_BYPRODUCTS ${make_icon})

set(icon ${CMAKE_CURRENT_BINARY_DIR}/ondulix.ico)
add_custom_command(OUTPUT ${icon}
  COMMAND ${make_icon} ${picture} 16,32,48,256 ${icon}
  DEPENDS build_tools ${make_icon} ${picture}
  COMMENT "Drawing the Windows icon from earth.bmp")
add_custom_target(windows_icon DEPENDS ${icon})
configure_file(windows/ondulix_version.h.in ondulix_version.h @ONLY)

set(rc ${CMAKE_CURRENT_SOURCE_DIR}/windows/ondulix.rc)
target_sources(ondulix PRIVATE ${rc})
add_dependencies(ondulix windows_icon)
set_source_files_properties(${rc} TARGET_DIRECTORY ondulix PROPERTIES
  INCLUDE_DIRECTORIES "${CMAKE_CURRENT_BINARY_DIR};${CMAKE_CURRENT_SOURCE_DIR}/windows"
  OBJECT_DEPENDS "${icon};${CMAKE_CURRENT_SOURCE_DIR}/windows/ondulix.manifest")
if(MSVC)
  # The manifest is the resource's; the linker would add one of its own.
  target_link_options(ondulix PRIVATE /MANIFEST:NO)
endif()

# MSVC's rc must take the same .rc and manifest: llvm-rc reads them as rc.exe
# does, with Windows' headers from MinGW here. The "--" matters: rc reads any
# word starting with "/" as an option, so a source tree under /check/... would
# otherwise be taken for "/c heck/...".
find_program(ONDULIX_LLVM_RC NAMES llvm-rc llvm-rc-14)
if(BUILD_TESTING AND CMAKE_CROSSCOMPILING AND ONDULIX_LLVM_RC)
  add_test(NAME windows.resources_build_with_an_msvc_rc
    COMMAND ${ONDULIX_LLVM_RC} /I ${CMAKE_CURRENT_BINARY_DIR} /I ${CMAKE_FIND_ROOT_PATH}/include
      /I /usr/share/mingw-w64/include /FO ${CMAKE_CURRENT_BINARY_DIR}/msvc-rc-check.res -- ${rc})
  set_tests_properties(windows.resources_build_with_an_msvc_rc PROPERTIES LABELS unit TIMEOUT 60)
endif()
