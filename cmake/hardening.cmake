# Hardening of the programs the packages carry (ONDULIX_HARDENING, which the
# presets that make packages turn on). Every target of the build takes it,
# so the unit tests and benchmarks run the code as it ships.
#
# Linux: Debian's own hardening flags, from dpkg-buildflags where it is
# present (hardening=+all: stack protector, FORTIFY, format checks, full
# RELRO with BIND_NOW; GCC builds PIE by default), so the build follows
# Debian when Debian changes them. Its -g -O2 are left out: the build type
# chooses those, as it does for every other build.
# Windows (MinGW-w64): the stack protector (libssp, linked statically like
# the rest of the runtime), FORTIFY (MinGW-w64's headers route the checked
# calls to libssp), and the PE flags the loader reads: ASLR (high-entropy on
# x86_64), DEP, and Terminal Server awareness.
option(ONDULIX_HARDENING "Build with the platform's hardening flags" OFF)
if(NOT ONDULIX_HARDENING)
  return()
endif()
include(CheckCXXCompilerFlag)

# ondulix_harden(LANG FLAGS...): compile options for one language.
function(ondulix_harden lang)
  add_compile_options("$<$<COMPILE_LANGUAGE:${lang}>:${ARGN}>")
endfunction()

if(MINGW)
  set(flags -fstack-protector-strong -D_FORTIFY_SOURCE=2)
  ondulix_harden(C ${flags})
  ondulix_harden(CXX ${flags})
  # On the link line too: that is where GCC adds libssp.
  add_link_options(-fstack-protector-strong -Wl,--dynamicbase,--nxcompat,--tsaware)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    add_link_options(-Wl,--high-entropy-va)
  endif()
elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  find_program(ONDULIX_DPKG_BUILDFLAGS dpkg-buildflags)
  if(ONDULIX_DPKG_BUILDFLAGS)
    # For the Debian architecture the build is for: a cross-build names it.
    if(ONDULIX_DEB_ARCH)
      set(host_arch DEB_HOST_ARCH=${ONDULIX_DEB_ARCH})
    else()
      set(host_arch)
    endif()
    # The file paths are mapped by reproducible.cmake, from the source
    # folder rather than from wherever cmake was started.
    set(env ${CMAKE_COMMAND} -E env ${host_arch}
      "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-fixfilepath,-fixdebugpath"
      "DEB_CFLAGS_MAINT_STRIP=-g -O2" "DEB_CXXFLAGS_MAINT_STRIP=-g -O2")
    foreach(var CPPFLAGS CFLAGS CXXFLAGS LDFLAGS)
      execute_process(COMMAND ${env} ${ONDULIX_DPKG_BUILDFLAGS} --get ${var}
        OUTPUT_VARIABLE ${var} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
      separate_arguments(${var} UNIX_COMMAND "${${var}}")
    endforeach()
  else()
    # What dpkg-buildflags of Debian 12 gives.
    set(CPPFLAGS -Wdate-time -D_FORTIFY_SOURCE=2)
    set(CFLAGS -fstack-protector-strong -Wformat -Werror=format-security)
    set(CXXFLAGS ${CFLAGS})
    set(LDFLAGS -Wl,-z,relro -Wl,-z,now)
  endif()
  # Control-flow protection in hardware (CET on x86_64, BTI and pointer
  # authentication on arm64), which Debian 12's dpkg does not ask for yet;
  # the instructions are no-ops on processors without it.
  foreach(flag -fcf-protection -mbranch-protection=standard)
    string(MAKE_C_IDENTIFIER "ONDULIX_CXX_TAKES${flag}" takes)
    check_cxx_compiler_flag(${flag} ${takes})
    if(${takes})
      list(APPEND CFLAGS ${flag})
      list(APPEND CXXFLAGS ${flag})
    endif()
  endforeach()
  ondulix_harden(C ${CPPFLAGS} ${CFLAGS})
  ondulix_harden(CXX ${CPPFLAGS} ${CXXFLAGS})
  add_link_options(${LDFLAGS})
  string(REPLACE ";" " " shown "${CPPFLAGS};${CXXFLAGS};${LDFLAGS}")
  message(STATUS "Hardening: ${shown}")
endif()
