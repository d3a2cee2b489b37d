// libFuzzer target: LoadImageA on any file at any requested size, and the
// loaded bitmap blitted into an 8-bit surface.
#include "fuzz/load_image_entry.h"

#include "platform/portable/windowing/windowing.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    portable::UseWindowing("headless"); // nothing here needs a screen
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static fuzzsupport::FuzzDisplay display;
    if (fuzzsupport::RunLoadImageInput(display, data, size) == fuzzsupport::CaseOutcome::Broken)
        std::abort();
    return 0;
}
