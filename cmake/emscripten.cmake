# The web build: Emscripten's own CMake toolchain, found beside the emcc on
# the PATH (Debian's package, or an emsdk), so the preset names no path.
find_program(ONDULIX_EMCC emcc REQUIRED)
get_filename_component(ONDULIX_EMCC_REAL "${ONDULIX_EMCC}" REALPATH)
get_filename_component(ONDULIX_EMSCRIPTEN_ROOT "${ONDULIX_EMCC_REAL}" DIRECTORY)
include("${ONDULIX_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake")
