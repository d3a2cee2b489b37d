// GDI's stock objects: fixed handles that exist for the whole process.
#pragma once

#include "platform/portable/include/win_types.h"

namespace portable {

// The stock object with GetStockObject's index, or null for an index with none.
HGDIOBJ StockObject(int index);
bool IsStockObject(HGDIOBJ handle);
// The 1x1 bitmap every new memory context starts with.
HGDIOBJ DefaultBitmap();
// The colour of a stock brush; false for anything that is not one.
bool StockBrushColour(HBRUSH brush, COLORREF *colour);

} // namespace portable
