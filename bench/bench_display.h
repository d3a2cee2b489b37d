// The display as the running demo holds it, for the benchmarks: its window,
// DirectDraw's exclusive 640x480 8-bit mode with the flip chain, the work
// surface holding the picture from earth.bmp (read from the current folder)
// with its colour key, and the palette with the picture's colours.
#pragma once

#include "effect/wave.h"

// Sets all of it up, once per process, with the demo's own calls. False, with
// the reason on stderr, when it cannot (no earth.bmp here, no display).
bool TakeDemoDisplay();

// Hands the window whatever its thread's queue holds, as the frame loop does
// between frames, so that a long benchmark never leaves it unanswered.
void PumpWindowMessages();

// The wave as the frame loop holds it while drawing frame n (n >= 0): InitWave,
// then n AdvanceWave.
WaveState WaveAtFrame(int n);

// One frame body as the frame loop draws it, from a copy of the state
// before it: the clear, the wave step, both halves of rows, the flip. Each
// call draws the same frame.
void DrawFrameBody(const WaveState &before);

// How many rows the wave step copies for that state: 240 on the left, and on
// the right one per screen row between neighbouring rows' landing rows.
int RowCopies(const WaveState &wave);
