#include "platform/portable/gdi/gdi_stock_objects.h"

#include "platform/portable/include/win_gdi.h"

namespace portable {
namespace {

// Stock handles are small numbers below every table handle, each brush at
// its index times four plus this base.
constexpr uintptr_t kStockBase = 0x100;
constexpr int kBrushCount = 5; // WHITE_BRUSH 0 ... BLACK_BRUSH 4
constexpr uintptr_t kDefaultBitmap = kStockBase + 4 * 21;

const COLORREF kBrushColours[kBrushCount] = {RGB(255, 255, 255), RGB(192, 192, 192),
                                             RGB(128, 128, 128), RGB(64, 64, 64), RGB(0, 0, 0)};

} // namespace

HGDIOBJ StockObject(int index) {
    if (index < 0 || index >= kBrushCount)
        return nullptr;
    return reinterpret_cast<HGDIOBJ>(kStockBase + 4 * static_cast<uintptr_t>(index));
}

HGDIOBJ DefaultBitmap() {
    return reinterpret_cast<HGDIOBJ>(kDefaultBitmap);
}

bool IsStockObject(HGDIOBJ handle) {
    COLORREF unused;
    return handle == DefaultBitmap() || StockBrushColour(static_cast<HBRUSH>(handle), &unused);
}

bool StockBrushColour(HBRUSH brush, COLORREF *colour) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(brush);
    if (value < kStockBase || (value - kStockBase) % 4 != 0)
        return false;
    const uintptr_t index = (value - kStockBase) / 4;
    if (index >= static_cast<uintptr_t>(kBrushCount))
        return false;
    *colour = kBrushColours[index];
    return true;
}

} // namespace portable
