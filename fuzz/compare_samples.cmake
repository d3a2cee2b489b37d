# Regenerates the seed corpus and the regression pictures into OUTPUT and
# requires them to equal the committed files, one for one: a change to the
# generator must come with the files it writes.
file(REMOVE_RECURSE "${OUTPUT}")
# EMULATOR (empty but in a cross-build) runs the generator of such a build.
execute_process(COMMAND ${EMULATOR} "${GENERATOR}" "${SOURCE_DIR}" "${OUTPUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_bmp_samples failed: ${result}")
endif()
foreach(dir fuzz/corpus/load_image fuzz/corpus/bmp_palette tests/data/bmp_regressions)
  file(GLOB made RELATIVE "${OUTPUT}/${dir}" "${OUTPUT}/${dir}/*")
  file(GLOB committed RELATIVE "${SOURCE_DIR}/${dir}" "${SOURCE_DIR}/${dir}/*")
  list(SORT made)
  list(SORT committed)
  if(NOT made STREQUAL committed)
    message(FATAL_ERROR "${dir}: the generator writes [${made}], the tree holds [${committed}]")
  endif()
  foreach(name IN LISTS made)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
      "${OUTPUT}/${dir}/${name}" "${SOURCE_DIR}/${dir}/${name}" RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
      message(FATAL_ERROR "${dir}/${name} differs from what make_bmp_samples writes")
    endif()
  endforeach()
endforeach()
