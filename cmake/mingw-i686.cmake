# Cross-build for 32-bit Windows with MinGW-w64; the structure sizes of the
# 32-bit DirectDraw headers are asserted in this build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# SSE2 doubles, not the x87's 80-bit ones: the wave's sine and its
# truncation then round exactly as on every other build.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
