// The display once set up: the mode and surfaces it holds, the palette that
// stays black until the picture's colours arrive, the clear and the flip.
#include "display/display.h"
#include "tests/support/headless_screen.h"
#include "tests/support/case_names.h"
#include "tests/support/program_state.h"
#include "tests/support/surfaces.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using testsupport::Pixels;

DDSURFACEDESC DescOf(LPDIRECTDRAWSURFACE surface) {
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    EXPECT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
    return desc;
}

class ReadyDisplay : public testsupport::ProgramStateTest {
  protected:
    void SetUp() override {
        ProgramStateTest::SetUp();
        screen.onEnter = [this](HWND owner, int width, int height) {
            modeOwner = owner;
            modeWidth = width;
            modeHeight = height;
        };
        screen.onShow = [this](HWND, const portable::ScreenFrame &frame) {
            shown.assign(static_cast<size_t>(frame.width) * frame.height, 0);
            for (int y = 0; y < frame.height; ++y)
                std::memcpy(&shown[static_cast<size_t>(y) * frame.width],
                            frame.pixels + static_cast<ptrdiff_t>(y) * frame.pitch,
                            static_cast<size_t>(frame.width));
            shownPalette.assign(frame.palette, frame.palette + 256);
        };
        ASSERT_EQ(InitDirectDraw(window.hwnd()), 1);
    }

    testsupport::TestWindow window;
    testsupport::HeadlessScreen screen;
    HWND modeOwner = nullptr;
    int modeWidth = 0, modeHeight = 0;
    std::vector<uint8_t> shown; // the last frame on screen, 640 bytes a row
    std::vector<PALETTEENTRY> shownPalette;
};

TEST_F(ReadyDisplay, HoldsTheScreenAt640x480With8BitsAndAFlipChainOfTwo) {
    EXPECT_EQ(modeOwner, window.hwnd());
    EXPECT_EQ(modeWidth, 640);
    EXPECT_EQ(modeHeight, 480);

    const DDSURFACEDESC primary = DescOf(g_pDDSPrimary);
    EXPECT_EQ(primary.dwWidth, 640u);
    EXPECT_EQ(primary.dwHeight, 480u);
    EXPECT_EQ(primary.ddpfPixelFormat.dwRGBBitCount, 8u);
    EXPECT_EQ(primary.dwBackBufferCount, 1u);
    const DWORD chain = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    EXPECT_EQ(primary.ddsCaps.dwCaps & chain, chain);

    LPDIRECTDRAWSURFACE attached = nullptr;
    DDSCAPS backCaps = {DDSCAPS_BACKBUFFER};
    ASSERT_EQ(g_pDDSPrimary->GetAttachedSurface(&backCaps, &attached), DD_OK);
    EXPECT_EQ(attached, g_pDDSBack);
    attached->Release();

    const DDSURFACEDESC work = DescOf(g_pDDSWork);
    EXPECT_EQ(work.dwWidth, 640u);
    EXPECT_EQ(work.dwHeight, 480u);
    EXPECT_EQ(work.ddpfPixelFormat.dwRGBBitCount, 8u);
    EXPECT_TRUE(work.ddsCaps.dwCaps & DDSCAPS_OFFSCREENPLAIN);
    EXPECT_FALSE(work.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE);
}

TEST_F(ReadyDisplay, PaletteIsAllZeroAndOnTheScreenUntilThePictureIsLoaded) {
    PALETTEENTRY entries[256];
    std::memset(entries, 0xAA, sizeof(entries));
    ASSERT_EQ(g_pDDPal->GetEntries(0, 0, 256, entries), DD_OK);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(entries[i].peRed, 0) << "entry " << i;
        EXPECT_EQ(entries[i].peGreen, 0) << "entry " << i;
        EXPECT_EQ(entries[i].peBlue, 0) << "entry " << i;
        EXPECT_EQ(entries[i].peFlags, 0) << "entry " << i;
    }
    // 8-bit alone: entries 0 and 255 are not freed for the demo's own use.
    DWORD caps = 0;
    ASSERT_EQ(g_pDDPal->GetCaps(&caps), DD_OK);
    EXPECT_EQ(caps, static_cast<DWORD>(DDPCAPS_8BIT));

    LPDIRECTDRAWPALETTE onPrimary = nullptr;
    ASSERT_EQ(g_pDDSPrimary->GetPalette(&onPrimary), DD_OK);
    EXPECT_EQ(onPrimary, g_pDDPal);
    onPrimary->Release();

    ASSERT_EQ(shownPalette.size(), 256u);
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY &e = shownPalette[i];
        EXPECT_EQ(e.peRed | e.peGreen | e.peBlue, 0) << "screen colour " << i;
    }
}

enum class Target { Back, Work, Primary, KeyedWork, SmallOfItsOwn };

struct ClearCase {
    const char *name;
    Target target;
};

class ClearAnySurface : public ReadyDisplay, public ::testing::WithParamInterface<ClearCase> {
  protected:
    void TearDown() override {
        if (own_ != nullptr)
            own_->Release();
        ReadyDisplay::TearDown();
    }

    LPDIRECTDRAWSURFACE Surface(Target target) {
        switch (target) {
        case Target::Back:
            return g_pDDSBack;
        case Target::Work:
            return g_pDDSWork;
        case Target::Primary:
            return g_pDDSPrimary;
        case Target::KeyedWork: {
            // A colour key governs copies from the surface, not fills.
            DDCOLORKEY key = {0xAB, 0xAB};
            EXPECT_EQ(g_pDDSWork->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
            return g_pDDSWork;
        }
        case Target::SmallOfItsOwn:
            own_ = testsupport::CreatePlainSurface(g_pDD, 13, 7);
            return own_;
        }
        return nullptr;
    }

  private:
    LPDIRECTDRAWSURFACE own_ = nullptr;
};

const ClearCase kClearCases[] = {
    {"back buffer", Target::Back},
    {"work surface", Target::Work},
    {"primary surface", Target::Primary},
    {"work surface with a colour key", Target::KeyedWork},
    {"small surface of odd size", Target::SmallOfItsOwn},
};

TEST_P(ClearAnySurface, SetsEveryPixelToIndexZero) {
    LPDIRECTDRAWSURFACE surface = Surface(GetParam().target);
    ASSERT_NE(surface, nullptr);
    testsupport::WriteSurface(surface, [](int x, int y) {
        return static_cast<uint8_t>(1 + (x * 5 + y * 3) % 255); // never 0
    });
    EXPECT_EQ(ClearSurface(surface), DD_OK);
    const Pixels p = testsupport::ReadSurface(surface);
    ASSERT_GT(p.bytes.size(), 0u);
    for (size_t i = 0; i < p.bytes.size(); ++i)
        ASSERT_EQ(p.bytes[i], 0) << "pixel " << i % p.width << "," << i / p.width;
}

INSTANTIATE_TEST_SUITE_P(Surfaces, ClearAnySurface, ::testing::ValuesIn(kClearCases),
                         testsupport::NameField());

TEST_F(ReadyDisplay, AFlipShowsTheBackBufferAndLeavesTheOlderFrameBehind) {
    const auto older = [](int x, int y) { return static_cast<uint8_t>((x + y) % 7 + 1); };
    const auto newer = [](int x, int y) { return static_cast<uint8_t>((x * 3 + y) % 11 + 20); };
    testsupport::WriteSurface(g_pDDSPrimary, older);
    testsupport::WriteSurface(g_pDDSBack, newer);

    EXPECT_EQ(FlipScreen(), DD_OK);
    const Pixels front = testsupport::ReadSurface(g_pDDSPrimary);
    const Pixels back = testsupport::ReadSurface(g_pDDSBack);
    ASSERT_EQ(shown.size(), 640u * 480u);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            ASSERT_EQ(shown[static_cast<size_t>(y) * 640 + x], newer(x, y)) << x << "," << y;
            ASSERT_EQ(front.at(x, y), newer(x, y)) << x << "," << y;
            ASSERT_EQ(back.at(x, y), older(x, y)) << x << "," << y;
        }
    }

    EXPECT_EQ(FlipScreen(), DD_OK);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(shown[static_cast<size_t>(y) * 640 + x], older(x, y)) << x << "," << y;
}

} // namespace
