# GoogleTest: built from Debian's sources with the cross compiler, or the
# one installed where the build runs on Windows itself.
set(ONDULIX_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source for cross builds")
if(EXISTS ${ONDULIX_GTEST_SOURCE}/CMakeLists.txt)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${ONDULIX_GTEST_SOURCE} ${CMAKE_CURRENT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT MSVC)
    target_compile_options(gtest PRIVATE -Wno-error)
    target_compile_options(gtest_main PRIVATE -Wno-error)
  endif()
else()
  find_package(GTest REQUIRED)
endif()

file(GLOB ONDULIX_CROSSPLATFORM_SOURCES CONFIGURE_DEPENDS crossplatform/*.cpp)
add_executable(ondulix_windows_tests ${ONDULIX_CROSSPLATFORM_SOURCES})
target_link_libraries(ondulix_windows_tests PRIVATE ondulix_system GTest::gtest GTest::gtest_main)

# Run where the build runs, or where an emulator can run it: Wine here runs
# the x86_64 build.
if(NOT CMAKE_CROSSCOMPILING OR CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME windows.crossplatform COMMAND ondulix_windows_tests)
  set_tests_properties(windows.crossplatform PROPERTIES LABELS unit TIMEOUT 300
    ENVIRONMENT "ONDULIX_WINE_DIR=${PROJECT_SOURCE_DIR}/build/wine")
endif()
