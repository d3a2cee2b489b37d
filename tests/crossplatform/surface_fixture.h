// Real 8-bit DirectDraw surfaces from either platform's DirectDraw: the
// normal cooperative level, off-screen surfaces with an explicit palettized
// pixel format, and a palette. Nothing here needs a display mode, so the
// same tests run natively and, against Windows' DirectDraw, under Wine.
// Their pixels are read and written with tests/support/surfaces.h.
#pragma once

#include "platform/platform.h"

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

    LPDIRECTDRAW dd = nullptr;

  private:
    std::vector<IUnknown *> owned_;
};

} // namespace crossplatform
