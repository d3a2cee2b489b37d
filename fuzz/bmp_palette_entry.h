// One fuzz case of the palette loader: LoadBmpPalette on a file holding the
// input, with a real portable palette as the display's. Shared by the
// libFuzzer target and the corpus replay test.
#pragma once

#include "fuzz/fuzz_display.h"

#include <cstddef>
#include <cstdint>

namespace fuzzsupport {

// Loads the palette from a file holding the bytes and checks the result
// against the bytes themselves: entry i takes bytes 54 + 4i .. 56 + 4i as
// blue, green, red (255 where the file has ended) and flags PC_RESERVED, and
// the palette object holds the same colours. The display globals and the
// palette table are put back as they were. False when any of it fails.
bool RunBmpPaletteCase(FuzzDisplay &display, const uint8_t *data, size_t size);

} // namespace fuzzsupport
