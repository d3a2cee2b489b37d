# GoogleTest built from Debian's sources with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_CURRENT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -Wno-error)
target_compile_options(gtest_main PRIVATE -Wno-error)

file(GLOB ONDULIX_CROSSPLATFORM_SOURCES CONFIGURE_DEPENDS crossplatform/*.cpp)
add_executable(ondulix_windows_tests ${ONDULIX_CROSSPLATFORM_SOURCES})
target_link_libraries(ondulix_windows_tests PRIVATE ondulix_system gtest gtest_main)

# Run only where an emulator can run it: Wine here runs the x86_64 build.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME windows.crossplatform COMMAND ondulix_windows_tests)
  set_tests_properties(windows.crossplatform PROPERTIES LABELS unit TIMEOUT 300
    ENVIRONMENT "ONDULIX_WINE_DIR=${PROJECT_SOURCE_DIR}/build/wine")
endif()
