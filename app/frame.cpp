// The frame body the frame loop runs once per frame, and its drawing of the
// wave on its own, which the benchmarks time apart.
#include "app/app.h"
#include "display/display.h"

void DrawFrame(WaveState *wave) {
    ClearSurface(g_pDDSBack);
    AdvanceWave(wave);
    DrawWave(wave);
    FlipScreen();
}

void DrawWave(const WaveState *wave) {
    DrawWaveRows(wave, g_pDDSBack, g_pDDSWork);
    DrawWaveRowsFilled(wave, g_pDDSBack, g_pDDSWork);
}
