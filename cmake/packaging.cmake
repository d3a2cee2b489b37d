# CPack's settings for the packages a person downloads (tools/package.sh runs
# cpack in each build): a zip for each Windows build. The
# version is the project's; nothing here repeats it.
set(CPACK_PACKAGE_NAME ondulix)
set(CPACK_PACKAGE_VENDOR "The Ondulix developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "picture of the Earth rippling under a sine-wave raster distortion")
# Only what packaging/ installs: component "ondulix" of this build.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};ondulix;/")
set(CPACK_STRIP_FILES ON)
# Directories as Debian expects them whatever the umask of the build.
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
endif()

include(CPack)
