// One fuzz case of the picture path: LoadImageA on a file, and the loaded
// bitmap copied into an 8-bit surface through BitBlt, as the demo's picture
// loader does it. Shared by the libFuzzer target and the corpus replay test.
#pragma once

#include "fuzz/fuzz_display.h"

#include <cstddef>
#include <cstdint>

namespace fuzzsupport {

// A fuzz input: 8 bytes of request, then the file.
//   bytes 0-1: requested width + 1, low 10 bits (0: refused, 1: file's own)
//   bytes 2-3: requested height, likewise
//   bytes 4-5, 6-7: signed destination x and y of the blit
constexpr size_t kLoadImagePrefix = 8;

struct LoadImageRequest {
    int width = 200, height = 210; // as LoadImageA takes them
    int x = 60, y = 15;            // where the bitmap goes on the surface
};

enum class CaseOutcome {
    Refused, // LoadImageA returned null
    Loaded,  // loaded and drawn
    Broken,  // something it promises did not hold: a finding
};

// Splits a fuzz input into its request and the file's bytes.
LoadImageRequest ParseLoadImageInput(const uint8_t *data, size_t size, const uint8_t **file,
                                     size_t *fileSize);
// The 8-byte prefix that ParseLoadImageInput reads back as the request.
void WriteLoadImagePrefix(const LoadImageRequest &request, uint8_t out[kLoadImagePrefix]);

// Loads the file at the requested size and blits it to the surface. Checks
// what the loader promises: a bitmap of exactly the requested size whose
// indices stay inside its colour table, no pixel of the surface written
// outside the blit's rectangle, and every GDI object given back.
CaseOutcome RunLoadImageCase(FuzzDisplay &display, const uint8_t *file, size_t size,
                             const LoadImageRequest &request);

// ParseLoadImageInput, then RunLoadImageCase.
CaseOutcome RunLoadImageInput(FuzzDisplay &display, const uint8_t *data, size_t size);

} // namespace fuzzsupport
