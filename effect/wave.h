// The wave raster effect: the top-left 320x240 of the work surface copied to
// the back buffer one row at a time, each row moved up or down by a sine
// wave that drifts one row per frame, with an amplitude that swings between
// 0 and just over 50 pixels.
#pragma once

#include "platform/platform.h"

#include <cstdint>

struct WaveState {
    float amplitude;     // wave height in pixels for this frame's drawing
    float amplitudeStep; // change per frame; only its sign ever changes
    int32_t frameCount;  // frames advanced so far, wrapping as 32 bits do
};

// Makes palette index 0 of the work surface transparent and sets the
// initial state: amplitude 0, step 0.15, frame 0.
void InitWave(WaveState *state, LPDIRECTDRAWSURFACE work);

// Moves the amplitude and the frame counter on by one frame.
void AdvanceWave(WaveState *state);

// The screen row on which source row `row` lands in frame `frameCount`.
int WaveRowY(int row, int32_t frameCount, float amplitude);

// The left half: every source row on its own row of the screen.
void DrawWaveRows(const WaveState *state, LPDIRECTDRAWSURFACE back, LPDIRECTDRAWSURFACE work);

// The right half: each source row also fills the screen rows between where
// the previous row landed and where it lands, so no gap opens.
void DrawWaveRowsFilled(const WaveState *state, LPDIRECTDRAWSURFACE back, LPDIRECTDRAWSURFACE work);
