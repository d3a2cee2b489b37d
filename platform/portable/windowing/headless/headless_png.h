// Frames as PNG files: the 8-bit palettized picture exactly as the display
// holds it, its palette as the PNG's. The headless back end saves frames
// with it, and the frame renderer writes its reference frames with it.
#pragma once

#include "platform/portable/include/win_gdi.h"

#include <string>

namespace portable {

// Writes width x height indices (rows `pitch` bytes apart) with the 256
// colours; false when the file cannot be written.
bool WritePngIndexed(const std::string &path, int width, int height, const BYTE *indices,
                     long pitch, const PALETTEENTRY palette[256]);

} // namespace portable
