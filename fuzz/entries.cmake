# The fuzz targets' entry functions as a plain library: linked into the
# libFuzzer targets, and into the unit tests, which replay the corpus
# through them on every run. Included from fuzz/ and from the tests.
if(NOT TARGET ondulix_fuzz_entries)
  add_library(ondulix_fuzz_entries STATIC
    ${CMAKE_CURRENT_LIST_DIR}/bmp_palette_entry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fuzz_display.cpp
    ${CMAKE_CURRENT_LIST_DIR}/input_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/load_image_entry.cpp)
  target_link_libraries(ondulix_fuzz_entries PUBLIC ondulix_system)
  target_compile_definitions(ondulix_fuzz_entries PUBLIC
    ONDULIX_FUZZ_CORPUS_DIR="${CMAKE_CURRENT_LIST_DIR}/corpus")

  # The generator of the seed corpus and of the damaged pictures in
  # tests/data/bmp_regressions: committed files, rebuilt from here.
  add_executable(make_bmp_samples
    ${CMAKE_CURRENT_LIST_DIR}/make_bmp_samples.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/bmp_writer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sample_forms.cpp
    ${CMAKE_CURRENT_LIST_DIR}/regression_forms.cpp)
  target_include_directories(make_bmp_samples PRIVATE ${PROJECT_SOURCE_DIR})
endif()
