// Colour matching behind the portable BitBlt: a DIB drawn into an 8-bit
// surface's drawing context gets, for each pixel, the index of its colour in
// the display palette, as Windows does.
#pragma once

#include "platform/portable/include/win_gdi.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace portable {

// Index of the colour (r, g, b) in the palette: the lowest index holding
// exactly that colour, else the nearest colour by squared RGB distance, ties
// to the lowest index.
BYTE NearestPaletteIndex(const PALETTEENTRY palette[256], BYTE r, BYTE g, BYTE b);

// The translation from a DIB's colour table to palette indices. When the
// table has 256 entries whose red, green and blue equal the palette's entry
// for entry, every index maps to itself (so duplicated colours keep their own
// indices); otherwise each entry maps by NearestPaletteIndex. Entries beyond
// the table map as black.
void BuildIndexTranslation(const RGBQUAD *table, size_t count, const PALETTEENTRY palette[256],
                           BYTE out[256]);

// NearestPaletteIndex for many colours against one palette, as the blit of a
// direct-colour DIB needs: the colour cube is cut into cells and each cell
// keeps only the palette entries that can be nearest to some colour in it,
// found the first time a colour falls there. Gives exactly the answers of
// NearestPaletteIndex, several times faster over a picture.
class PaletteMatcher {
  public:
    explicit PaletteMatcher(const PALETTEENTRY palette[256]);
    BYTE Nearest(BYTE r, BYTE g, BYTE b);

  private:
    static constexpr int kCellBits = 3; // 8 cells a side, 32 levels each
    static constexpr int kCellCount = 1 << (3 * kCellBits);

    void BuildCell(int cell);

    PALETTEENTRY palette_[256];
    int cellStart_[kCellCount];
    int cellSize_[kCellCount]; // -1 until the cell is first used
    // Per candidate: the least squared distance from its cell << 8 | index,
    // sorted so the search can stop once no closer entry is possible.
    std::vector<uint32_t> candidates_;
};

} // namespace portable
