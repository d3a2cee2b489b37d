// The portable DirectDraw objects the fuzz entries draw into: a 640x480
// 8-bit off-screen surface with a palette of its own, as the demo's work
// surface is, and a palette for the palette loader. No window and no display
// mode are needed (normal cooperative level).
#pragma once

#include "platform/platform.h"

namespace fuzzsupport {

// Default palette of the surface: a colour cube and a grey ramp, so that
// the colour matching of a blit has real choices to make.
void MakeTestPalette(PALETTEENTRY out[256]);

class FuzzDisplay {
  public:
    FuzzDisplay();
    ~FuzzDisplay();
    FuzzDisplay(const FuzzDisplay &) = delete;
    FuzzDisplay &operator=(const FuzzDisplay &) = delete;

    bool ok() const { return surface != nullptr && palette != nullptr; }

    LPDIRECTDRAW dd = nullptr;
    LPDIRECTDRAWSURFACE surface = nullptr; // 640x480, 8 bits
    LPDIRECTDRAWPALETTE palette = nullptr; // attached to the surface
};

} // namespace fuzzsupport
