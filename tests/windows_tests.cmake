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

# The cross-platform tables, with their share of the test-support library.
add_subdirectory(support)
file(GLOB ONDULIX_CROSSPLATFORM_SOURCES CONFIGURE_DEPENDS crossplatform/*_test.cpp)
add_executable(ondulix_windows_tests ${ONDULIX_CROSSPLATFORM_SOURCES})
target_link_libraries(ondulix_windows_tests PRIVATE ondulix_test_support GTest::gtest_main)

# Each case is its own CTest, windows.Suite.Name. Where the build runs,
# CMake's own discovery lists them from the program. Under an emulator (Wine
# here runs the x86_64 build) a start costs seconds, so the program runs once
# (windows.run) and each case's CTest reads the verdict that run reported.
if(NOT CMAKE_CROSSCOMPILING)
  include(GoogleTest)
  gtest_discover_tests(ondulix_windows_tests TEST_PREFIX windows. PROPERTIES LABELS unit)
elseif(CMAKE_CROSSCOMPILING_EMULATOR)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(case_tool ${CMAKE_CURRENT_SOURCE_DIR}/gtest_case.py)
  set(report ${CMAKE_CURRENT_BINARY_DIR}/windows-tests.xml)
  add_test(NAME windows.run COMMAND ${Python3_EXECUTABLE} ${case_tool} run ${report}
    ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:ondulix_windows_tests>)
  set_tests_properties(windows.run PROPERTIES LABELS unit TIMEOUT 300
    FIXTURES_SETUP windows_report
    ENVIRONMENT "ONDULIX_WINE_DIR=${PROJECT_SOURCE_DIR}/build/wine")

  # The cases, read from the sources as GoogleTest's own macros declare them.
  foreach(source ${ONDULIX_CROSSPLATFORM_SOURCES})
    file(STRINGS ${source} declarations REGEX "^TEST(_F|_P)?\\(")
    foreach(declaration ${declarations})
      string(REGEX MATCH "^TEST(_F|_P)?\\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+)\\)" match "${declaration}")
      if(NOT match)
        message(FATAL_ERROR "${source}: write \"${declaration}\" on one line, so its case gets a CTest")
      endif()
      set(suite ${CMAKE_MATCH_2})
      set(name ${CMAKE_MATCH_3})
      add_test(NAME windows.${suite}.${name}
        COMMAND ${Python3_EXECUTABLE} ${case_tool} check ${report} ${suite} ${name})
      set_tests_properties(windows.${suite}.${name} PROPERTIES LABELS unit
        FIXTURES_REQUIRED windows_report SKIP_RETURN_CODE 77)
    endforeach()
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ONDULIX_CROSSPLATFORM_SOURCES})
endif()
