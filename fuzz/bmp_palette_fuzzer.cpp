// libFuzzer target: LoadBmpPalette on any file.
#include "fuzz/bmp_palette_entry.h"

#include "platform/portable/windowing/windowing.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    portable::UseWindowing("headless"); // nothing here needs a screen
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static fuzzsupport::FuzzDisplay display;
    if (!fuzzsupport::RunBmpPaletteCase(display, data, size))
        std::abort();
    return 0;
}
