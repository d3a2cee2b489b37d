# Runs make_earth and compares its output with the committed picture.
#   cmake -DMAKE_EARTH=<tool> -DOUTPUT=<new.bmp> -DEXPECTED=<assets/earth.bmp> -P compare_earth.cmake
foreach(var MAKE_EARTH OUTPUT EXPECTED)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "compare_earth.cmake: ${var} is not set")
  endif()
endforeach()

# A file left over from an earlier run must not stand in for this one.
file(REMOVE "${OUTPUT}")

execute_process(COMMAND "${MAKE_EARTH}" "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "make_earth failed (${status})")
endif()

execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT}" "${EXPECTED}"
  RESULT_VARIABLE different)
if(NOT different EQUAL 0)
  message(FATAL_ERROR "${OUTPUT} differs from ${EXPECTED}. If the change to make_earth is "
    "intended, regenerate the asset with: make_earth ${EXPECTED}")
endif()
