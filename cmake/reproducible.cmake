# The same bytes from the same sources, wherever they are checked out: the
# source folder is written as "." wherever the compiler records a path (debug
# information, which the build id of a stripped program still hashes, and
# __FILE__). tools/package.sh does the rest: SOURCE_DATE_EPOCH, which
# binutils also writes as a Windows program's time stamp when it strips it,
# and the archives.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.)
endif()
