// Real 8-bit DirectDraw surfaces from either platform's DirectDraw: the
// normal cooperative level, off-screen surfaces with an explicit palettized
// pixel format, and a palette. Nothing here needs a display mode, so the
// same tests run natively and, against Windows' DirectDraw, under Wine.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace crossplatform {

class SurfaceTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A width x height 8-bit surface, released with the fixture.
    LPDIRECTDRAWSURFACE Create8Bit(DWORD width, DWORD height);
    LPDIRECTDRAWPALETTE CreatePalette();

    static void Fill(LPDIRECTDRAWSURFACE surface, const std::function<uint8_t(int, int)> &value);
    // The pixels row by row, width x height.
    static std::vector<uint8_t> Read(LPDIRECTDRAWSURFACE surface, int *width = nullptr);

    LPDIRECTDRAW dd = nullptr;

  private:
    std::vector<IUnknown *> owned_;
};

} // namespace crossplatform
