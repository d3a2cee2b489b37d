# CPack's settings for the packages a person downloads (tools/package.sh runs
# cpack in each build): a zip for each Windows build, a .deb for Linux. The
# version is the project's; nothing here repeats it.
set(CPACK_PACKAGE_NAME ondulix)
set(CPACK_PACKAGE_VENDOR "The Ondulix developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Who answers for the packages: the .deb's Maintainer and its changelog.
set(ONDULIX_PACKAGE_MAINTAINER
  "Ondulix maintainers <maintainers@users.noreply.c-seed-98c9e8b6.example>")
# The program's AppStream id: the host of the maintainers' address, reversed
# (AppStream wants '_' for its '-'), and the name.
set(ONDULIX_APPSTREAM_ID example.c_seed_98c9e8b6.Ondulix)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "picture of the Earth rippling under a sine-wave raster distortion")
# Only what packaging/ installs: component "ondulix" of this build.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};ondulix;/")
set(CPACK_STRIP_FILES ON)
# Directories as Debian expects them whatever the umask of the build. CPack
# 3.25 does not apply this to the folders of its .deb's staging, so
# tools/package.sh packs under umask 022 as well.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ONDULIX_PACKAGE_ARCH x86_64)
  else()
    set(ONDULIX_PACKAGE_ARCH i686)
  endif()
  set(CPACK_GENERATOR ZIP)
  # Unpacks into a folder of the same name.
  set(CPACK_PACKAGE_FILE_NAME ondulix-${PROJECT_VERSION}-windows-${ONDULIX_PACKAGE_ARCH})
elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # ondulix_VERSION_ARCH.deb
  # A cross-build's toolchain names its Debian architecture; CPack would
  # take the machine's own.
  if(ONDULIX_DEB_ARCH)
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${ONDULIX_DEB_ARCH})
  endif()
  # Not "games": Debian wants those under /usr/games, which root's PATH
  # lacks, and the ondulix command is to be on every PATH.
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ONDULIX_PACKAGE_MAINTAINER})
  # The dependencies are what dpkg-shlibdeps finds the program linked
  # against (SDL2, the C and C++ runtimes), never a list kept by hand.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
A small full-screen graphics demo: a 200x210 palettized picture of the Earth,
drawn twice side by side at 640x480 with 8-bit colour, ripples under a
vertical sine wave. On the left every pixel row is placed on its own, so gaps
show where the wave stretches the picture; on the right the gaps are filled.
Any key, or closing the window, ends it.

The ondulix command shows the earth.bmp of the current folder when there is
one, and the picture installed with the package otherwise.]=])
endif()

include(CPack)
