// The display as the running demo holds it, for the benchmarks: its window,
// DirectDraw's exclusive 640x480 8-bit mode with the flip chain, the work
// surface holding the picture from earth.bmp (read from the current folder)
// with its colour key, and the palette with the picture's colours.
#pragma once

#include "effect/wave.h"

// Sets all of it up, once per process, with the demo's own set-up (app.h)
// but a window procedure that leaves the ending to the harness. False, with
// the reason on stderr, when it cannot (no earth.bmp here, no display).
bool TakeDemoDisplay();

// Hands the window whatever its thread's queue holds, as the frame loop does
// between frames, so that a long benchmark never leaves it unanswered.
void PumpWindowMessages();

// The wave as the frame loop holds it after drawing frame n (n >= 0): as
// InitDemo starts it, then n AdvanceWave. DrawFrame on a copy of frame n-1's
// draws frame n, however often it is done.
WaveState WaveAtFrame(int n);

// How many rows the wave step copies for that state: 240 on the left, and on
// the right one per screen row between neighbouring rows' landing rows.
int RowCopies(const WaveState &wave);
