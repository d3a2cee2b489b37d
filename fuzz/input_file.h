// The fuzzers hand their input to code that opens files by name, so each
// input becomes the contents of one in-memory file with a path that open()
// and fopen() accept.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzzsupport {

// Replaces the contents of this process's input file with the bytes and
// returns its path; null when the file could not be made or written.
const char *WriteInputFile(const uint8_t *data, size_t size);

} // namespace fuzzsupport
