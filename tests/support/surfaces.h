// Helpers for tests that look at real surface memory of the portable
// DirectDraw.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace testsupport {

// A width x height copy of the surface's pixels, row by row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;
    uint8_t at(int x, int y) const { return bytes[static_cast<size_t>(y) * width + x]; }
    bool RowEquals(int y, int x0, const std::vector<uint8_t> &expected) const;
};

Pixels ReadSurface(LPDIRECTDRAWSURFACE surface);
// Sets every pixel to value(x, y).
void WriteSurface(LPDIRECTDRAWSURFACE surface, const std::function<uint8_t(int, int)> &value);

LPDIRECTDRAWSURFACE CreatePlainSurface(LPDIRECTDRAW dd, DWORD width, DWORD height);

// A top-level window for the cooperative level, destroyed with the object.
class TestWindow {
  public:
    TestWindow();
    ~TestWindow();
    HWND hwnd() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
};

} // namespace testsupport
