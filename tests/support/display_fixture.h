// A test fixture holding the portable display as the demo sets it up:
// exclusive 640x480x8, a primary with one back buffer, a 640x480 work
// surface and a palette on the primary.
#pragma once

#include "tests/support/surfaces.h"

#include <gtest/gtest.h>

namespace testsupport {

class DisplayTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    TestWindow window;
    LPDIRECTDRAW dd = nullptr;
    LPDIRECTDRAWSURFACE primary = nullptr;
    LPDIRECTDRAWSURFACE back = nullptr;
    LPDIRECTDRAWSURFACE work = nullptr;
    LPDIRECTDRAWPALETTE palette = nullptr;
};

} // namespace testsupport
