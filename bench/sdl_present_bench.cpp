// Presentation on the portable platform: a flip that shows the 640x480 8-bit
// back buffer through the palette, converted to 32 bits and handed to SDL,
// with whatever video driver SDL_VIDEODRIVER names (offscreen, or x11 on an
// X server such as Xvfb). And the 8-to-32-bit conversion alone, for its share.
#include "bench/bench_display.h"

#include "app/app.h"
#include "display/display.h"
#include "platform/portable/windowing/windowing_convert.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The renderer the display's window presents with; null when it has none,
// and then a flip shows nothing at all.
SDL_Renderer *DisplayRenderer() {
    for (Uint32 id = 1; id < 64; ++id) {
        SDL_Window *w = SDL_GetWindowFromID(id);
        if (w != nullptr && SDL_GetRenderer(w) != nullptr)
            return SDL_GetRenderer(w);
    }
    return nullptr;
}

// Frames 335 and 100 drawn by the demo's frame body onto the two buffers of
// the flip chain: the picture at its most rippled, and one that differs from
// it, so that every flip shows rows that changed (presentation converts only
// those), as the running demo's flips do. Frame 100 ends on the screen and
// frame 335 in the back buffer.
void DrawTwoFramesOnTheBuffers() {
    for (const int frame : {335, 100}) {
        WaveState wave = WaveAtFrame(frame - 1);
        DrawFrame(&wave);
    }
}

void PresentFlip(benchmark::State &state) {
    if (!TakeDemoDisplay()) {
        state.SkipWithError("the demo's display could not be set up (see stderr)");
        return;
    }
    SDL_Renderer *renderer = DisplayRenderer();
    if (renderer == nullptr) {
        state.SkipWithError("the display's window has no renderer: nothing would be shown");
        return;
    }
    DrawTwoFramesOnTheBuffers(); // so the conversion reads the picture
    for (auto _ : state)
        FlipScreen();
    SDL_RendererInfo info;
    SDL_GetRendererInfo(renderer, &info);
    state.SetLabel(std::string(SDL_GetCurrentVideoDriver()) + "/" + info.name);
    PumpWindowMessages();
}
BENCHMARK(PresentFlip)->UseRealTime();

void PresentConvert(benchmark::State &state) {
    if (!TakeDemoDisplay()) {
        state.SkipWithError("the demo's display could not be set up (see stderr)");
        return;
    }
    // The frame's pixels and colours as the display hands them over.
    DrawTwoFramesOnTheBuffers();
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    if (g_pDDSBack->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) {
        state.SkipWithError("cannot lock the back buffer");
        return;
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(desc.lPitch) * 480);
    std::memcpy(pixels.data(), desc.lpSurface, pixels.size());
    g_pDDSBack->Unlock(nullptr);
    PALETTEENTRY palette[256];
    g_pDDPal->GetEntries(0, 0, 256, palette);
    uint32_t table[256];
    portable::BuildArgbTable(palette, table);

    std::vector<uint32_t> argb(640 * 480);
    for (auto _ : state) {
        portable::ConvertIndexedToArgb(pixels.data(), desc.lPitch, 640, 480, table, argb.data(),
                                       640 * 4);
        benchmark::DoNotOptimize(argb.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PresentConvert)->UseRealTime();

} // namespace
