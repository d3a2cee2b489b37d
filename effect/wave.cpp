#include "effect/wave.h"

#include "display/display.h"

#include <cmath>

namespace {

const int kRows = 240;       // source rows 0-239 of the work surface
const int kBaseRow = 120;    // centres the 240 rows on the 480-line screen
const int kStripWidth = 320; // each half of the screen
const int kRightStripX = 320;
const float kPhaseFactor = 0.1f; // the single-precision 0.1, kept as such
const double kUpperTurn = 50.0;
const signed char kUseColorKey = 1;

// 32-bit two's-complement addition, wrapping instead of overflowing: the
// frame counter passes 2^31 after a little over a year of running.
int32_t WrappingAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

void DrawRow(LPDIRECTDRAWSURFACE back, int x, int y, LPDIRECTDRAWSURFACE work, int sourceRow) {
    BltFastClip(back, x, y, kStripWidth, 1, work, 0, sourceRow, kUseColorKey);
}

} // namespace

void InitWave(WaveState *state, LPDIRECTDRAWSURFACE work) {
    SetSrcColorKey(work, 0);
    state->amplitude = 0.0f;
    state->amplitudeStep = 0.15f;
    state->frameCount = 0;
}

void AdvanceWave(WaveState *state) {
    // The sum of two floats is exact in double; it is stored rounded, but the
    // turns are decided on the exact sum.
    const double sum = static_cast<double>(state->amplitude) + state->amplitudeStep;
    state->amplitude = static_cast<float>(sum);
    state->frameCount = WrappingAdd(state->frameCount, 1);
    if (state->amplitudeStep > 0.0f) {
        if (sum > kUpperTurn)
            state->amplitudeStep = -state->amplitudeStep; // the amplitude stays above 50
    } else if (sum < 0.0) {
        state->amplitude = 0.0f;
        state->amplitudeStep = -state->amplitudeStep;
    }
}

int WaveRowY(int row, int32_t frameCount, float amplitude) {
    const double phase =
        static_cast<double>(WrappingAdd(row, frameCount)) * static_cast<double>(kPhaseFactor);
    // The conversion truncates toward zero: -0.7 gives 0, -1.3 gives -1.
    const int offset = static_cast<int>(static_cast<double>(amplitude) * std::sin(phase));
    return offset + row + kBaseRow;
}

void DrawWaveRows(const WaveState *state, LPDIRECTDRAWSURFACE back, LPDIRECTDRAWSURFACE work) {
    for (int row = 0; row < kRows; ++row)
        DrawRow(back, 0, WaveRowY(row, state->frameCount, state->amplitude), work, row);
}

void DrawWaveRowsFilled(const WaveState *state, LPDIRECTDRAWSURFACE back,
                        LPDIRECTDRAWSURFACE work) {
    // Source row 0 only marks where the fill starts; row 239's own landing
    // row is left to the row after it, which does not exist.
    int prev = WaveRowY(0, state->frameCount, state->amplitude);
    for (int row = 1; row < kRows; ++row) {
        const int target = WaveRowY(row, state->frameCount, state->amplitude);
        // From where the previous row landed (inclusive) to where this one
        // lands (exclusive), downwards or, where the wave runs backwards,
        // upwards over rows already drawn.
        if (prev < target) {
            for (int y = prev; y <= target - 1; ++y)
                DrawRow(back, kRightStripX, y, work, row);
        } else if (prev > target) {
            for (int y = prev; y >= target + 1; --y)
                DrawRow(back, kRightStripX, y, work, row);
        }
        prev = target;
    }
}
