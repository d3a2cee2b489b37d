// The one walk over a locked surface's pixel rows, shared by the tests, the
// fuzz entries and the test programs. It asserts nothing itself, so code
// without GoogleTest (a fuzz target, a program) can use it too.
#pragma once

#include "platform/platform.h"

#include <functional>

namespace testsupport {

// Locks the whole surface (DDLOCK_WAIT and lockFlags), calls visit(row, y,
// width) for each row from the top, and unlocks it. Returns the lock's
// result; no row is visited unless it is DD_OK.
HRESULT ForEachRow(LPDIRECTDRAWSURFACE surface, DWORD lockFlags,
                   const std::function<void(BYTE *row, int y, int width)> &visit);

} // namespace testsupport
