// The exclusive display on an SDL window (the dummy driver here): frames
// reach the window's pixels in their palette colours, full screen on the
// desktop unless windowed was asked for, Alt+Enter toggles between the two,
// and giving the display back leaves a plain window; a window not holding
// the display shows its background colour.
#include "tests/support/display_fixture.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/sdl_windows.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using testsupport::WriteSurface;

class ExclusiveWindow : public testsupport::DisplayTest {
  protected:
    ExclusiveWindow(bool windowed, const char *scale) : windowed_(windowed), scale_(scale) {}

    void SetUp() override {
        // Every fixture says both, so none inherits another's.
        setenv("ONDULIX_WINDOWED", windowed_ ? "1" : "0", 1);
        setenv("ONDULIX_SCALE", scale_, 1);
        // Shown before the display is taken, as the demo does: SDL leaves a
        // hidden window's full screen for later.
        ShowWindow(window.hwnd(), SW_SHOWDEFAULT);
        UpdateWindow(window.hwnd());
        DisplayTest::SetUp();
        sdlWindow = testsupport::SdlWindowOf(window.hwnd());
        ASSERT_NE(sdlWindow, nullptr);
    }

    // The window's size as SDL and its renderer see it.
    std::pair<int, int> Size() const {
        int w = 0, h = 0, outW = 0, outH = 0;
        SDL_GetWindowSize(sdlWindow, &w, &h);
        SDL_GetRendererOutputSize(SDL_GetRenderer(sdlWindow), &outW, &outH);
        EXPECT_EQ(outW, w);
        EXPECT_EQ(outH, h);
        return {w, h};
    }
    bool FullScreen() const {
        return (SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
               SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    // Alt+Enter pressed, held for `repeats` automatic repeats, and let go.
    void PressAltEnter(int repeats = 0) {
        std::vector<std::pair<Uint32, bool>> events = {{SDL_KEYDOWN, false}};
        for (int i = 0; i < repeats; ++i)
            events.push_back({SDL_KEYDOWN, true});
        events.push_back({SDL_KEYUP, false});
        for (const auto &[type, repeat] : events) {
            SDL_Event event = {};
            event.type = type;
            event.key.repeat = repeat ? 1 : 0;
            event.key.windowID = SDL_GetWindowID(sdlWindow);
            event.key.keysym.sym = SDLK_RETURN;
            event.key.keysym.scancode = SDL_SCANCODE_RETURN;
            event.key.keysym.mod = KMOD_LALT;
            ASSERT_EQ(SDL_PushEvent(&event), 1);
        }
        Pump();
    }

    // Hands the window everything queued for it.
    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }

    // The window's pixel at x, y as 0xRRGGBB.
    int ShownPixel(int x, int y) const {
        SDL_Surface *shown = SDL_GetWindowSurface(sdlWindow);
        Uint8 r = 0, g = 0, b = 0;
        const auto *row = static_cast<const Uint8 *>(shown->pixels) + y * shown->pitch;
        SDL_GetRGB(*reinterpret_cast<const Uint32 *>(row + x * 4), shown->format, &r, &g, &b);
        return (r << 16) | (g << 8) | b;
    }
    // The user makes it wide and low: the picture keeps 4:3 at the window's
    // height, 800x600 from x 100 to 899, with black bars left and right.
    // Left of its middle red, right of it blue.
    void ExpectRedAndBlueBetweenBars() {
        SDL_Surface *shown = SDL_GetWindowSurface(sdlWindow);
        ASSERT_NE(shown, nullptr) << SDL_GetError();
        ASSERT_EQ(shown->w, 1000);
        ASSERT_EQ(shown->h, 600);
        for (int y : {0, 300, 599}) {
            EXPECT_EQ(ShownPixel(99, y), 0x000000) << "left bar, row " << y;
            EXPECT_EQ(ShownPixel(100, y), 0xFF0000) << "picture, row " << y;
            EXPECT_EQ(ShownPixel(899, y), 0x0000FF) << "picture, row " << y;
            EXPECT_EQ(ShownPixel(900, y), 0x000000) << "right bar, row " << y;
        }
    }
    void FlipRedAndBlue() {
        PALETTEENTRY entries[256] = {};
        entries[1] = {0xFF, 0x00, 0x00, 0};
        entries[2] = {0x00, 0x00, 0xFF, 0};
        ASSERT_EQ(palette->SetEntries(0, 0, 256, entries), DD_OK);
        WriteSurface(back, [](int x, int) -> uint8_t { return x < 320 ? 1 : 2; });
        ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    }

    SDL_Window *sdlWindow = nullptr;

  private:
    bool windowed_;
    const char *scale_;
};

class WindowedDisplay : public ExclusiveWindow {
  protected:
    WindowedDisplay() : ExclusiveWindow(true, "1") {}
};

class FullScreenDisplay : public ExclusiveWindow {
  protected:
    FullScreenDisplay() : ExclusiveWindow(false, "1") {}
};

class DoubleSizeWindowedDisplay : public ExclusiveWindow {
  protected:
    DoubleSizeWindowedDisplay() : ExclusiveWindow(true, "2") {}
};

TEST_F(WindowedDisplay, AFlippedFrameShowsInItsPaletteColoursPixelForPixel) {
    EXPECT_EQ(Size(), std::make_pair(640, 480));
    EXPECT_FALSE(FullScreen());

    PALETTEENTRY entries[256] = {};
    entries[1] = {0xFF, 0x00, 0x00, 0};
    entries[2] = {0x00, 0xFF, 0x00, PC_NOCOLLAPSE};
    entries[3] = {0x00, 0x00, 0xFF, 0};
    entries[4] = {0x12, 0x34, 0x56, 0};
    ASSERT_EQ(palette->SetEntries(0, 0, 256, entries), DD_OK);
    // Four bands across, index 0 in the last column and row.
    WriteSurface(back, [](int x, int y) -> uint8_t {
        return (x == 639 || y == 479) ? 0 : static_cast<uint8_t>(1 + x / 160);
    });
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);

    SDL_Renderer *renderer = SDL_GetRenderer(sdlWindow);
    ASSERT_NE(renderer, nullptr);
    std::vector<uint32_t> shown(640 * 480);
    ASSERT_EQ(
        SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, shown.data(), 640 * 4), 0)
        << SDL_GetError();
    const uint32_t kColours[5] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456};
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const int index = (x == 639 || y == 479) ? 0 : 1 + x / 160;
            ASSERT_EQ(shown[y * 640 + x] & 0xFFFFFF, kColours[index]) << x << "," << y;
        }
}

TEST_F(DoubleSizeWindowedDisplay, OpensAtTwiceTheModeAndKeepsItsShapeWhenResized) {
    EXPECT_EQ(Size(), std::make_pair(1280, 960));

    SDL_SetWindowSize(sdlWindow, 1000, 600);
    Pump();
    FlipRedAndBlue();
    ExpectRedAndBlueBetweenBars();
}

// Rows a flip leaves as they were are not drawn again; but where the
// window's pixels no longer hold them, a frame flipped again shows whole:
// after its size changed and changed back before the queue was read (SDL
// makes its surface anew), and in new colours.
TEST_F(WindowedDisplay, AFrameFlippedAgainShowsWholeWhereTheWindowLostIt) {
    FlipRedAndBlue();
    SDL_SetWindowSize(sdlWindow, 1000, 600);
    SDL_SetWindowSize(sdlWindow, 640, 480);
    FlipRedAndBlue();
    EXPECT_EQ(ShownPixel(0, 0), 0xFF0000) << "after a new surface";
    EXPECT_EQ(ShownPixel(639, 479), 0x0000FF) << "after a new surface";

    PALETTEENTRY entries[256] = {};
    entries[1] = {0x00, 0xFF, 0x00, 0};
    entries[2] = {0x12, 0x34, 0x56, 0};
    ASSERT_EQ(palette->SetEntries(0, 0, 256, entries), DD_OK); // shows at once
    EXPECT_EQ(ShownPixel(0, 0), 0x00FF00) << "in new colours";
    EXPECT_EQ(ShownPixel(639, 479), 0x123456) << "in new colours";
}

// Shown 1:1, a frame goes straight to the window's pixels; resized, the
// window must still show it, scaled, before the program flips again.
TEST_F(WindowedDisplay, ResizedWithoutANewFlipItShowsTheLastFrameToFit) {
    FlipRedAndBlue();
    EXPECT_EQ(ShownPixel(0, 0), 0xFF0000);
    EXPECT_EQ(ShownPixel(639, 479), 0x0000FF);
    SDL_SetWindowSize(sdlWindow, 1000, 600);
    Pump();
    ExpectRedAndBlueBetweenBars();
}

TEST_F(FullScreenDisplay, FillsTheDesktopAndAltEnterTogglesAWindow) {
    EXPECT_TRUE(FullScreen());
    const std::pair<int, int> desktop = Size();
    EXPECT_NE(desktop, std::make_pair(640, 480)) << "the desktop's size";
    PressAltEnter();
    EXPECT_FALSE(FullScreen());
    EXPECT_EQ(Size(), std::make_pair(640, 480)) << "a window of the mode's size";
    PressAltEnter();
    EXPECT_TRUE(FullScreen());
    EXPECT_EQ(Size(), desktop);
}

TEST_F(FullScreenDisplay, HoldingAltEnterTogglesOnce) {
    PressAltEnter(5);
    EXPECT_FALSE(FullScreen());
}

LRESULT CALLBACK PlainProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(SdlWindow, AShownWindowShowsItsBackgroundColour) {
    static const ATOM kWhite = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = PlainProcedure;
        wc.lpszClassName = "ondulix-white";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        return RegisterClassA(&wc);
    }();
    ASSERT_NE(kWhite, 0);
    // What reaches the screen: the dummy driver saves each frame it is
    // handed as a BMP file in the current directory while told to.
    testsupport::ScratchDir dir;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    setenv("SDL_VIDEO_DUMMY_SAVE_FRAMES", "1", 1);
    HWND hwnd = CreateWindowExA(0, "ondulix-white", "white", WS_POPUP, 0, 0, 64, 48, nullptr,
                                nullptr, nullptr, nullptr);
    ShowWindow(hwnd, SW_SHOWDEFAULT);
    UpdateWindow(hwnd);
    unsetenv("SDL_VIDEO_DUMMY_SAVE_FRAMES");
    std::filesystem::current_path(previous);
    ASSERT_NE(hwnd, nullptr);
    std::string last; // the frame names count up
    for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
        last = std::max(last, entry.path().string());
    DestroyWindow(hwnd);
    SDL_Surface *shown = SDL_LoadBMP(last.c_str());
    ASSERT_NE(shown, nullptr) << "no frame shown: " << SDL_GetError();
    const int bytes = shown->format->BytesPerPixel; // 3 or 4, as the file has it
    Uint32 pixel = 0;
    std::memcpy(&pixel, static_cast<const Uint8 *>(shown->pixels) + 20 * shown->pitch + 30 * bytes,
                static_cast<size_t>(bytes));
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(pixel, shown->format, &r, &g, &b);
    EXPECT_EQ((r << 16) | (g << 8) | b, 0xFFFFFF);
    SDL_FreeSurface(shown);
}

TEST_F(FullScreenDisplay, GivingTheDisplayBackLeavesAPlainWindow) {
    EXPECT_TRUE(FullScreen());
    palette->Release();
    palette = nullptr;
    primary->Release();
    primary = nullptr;
    work->Release();
    work = nullptr;
    dd->Release();
    dd = nullptr;
    EXPECT_FALSE(FullScreen());
    EXPECT_EQ(Size(), std::make_pair(640, 480)) << "the size it was created with";
    PressAltEnter(); // no display held: nothing to toggle
    EXPECT_FALSE(FullScreen());
}

} // namespace
