// The demo's frame body (DrawFrame) at a fixed wave state: the clear, the
// wave step (AdvanceWave from frame n-1 to n, then both halves of rows) and
// the flip. The state is fixed by starting every iteration from a copy of
// frame n-1's state, so each iteration draws exactly frame n. On the
// portable platform the flip presents nothing (see quiet_flips.h); on
// Windows it presents.
#include "bench/bench_display.h"
#include "bench/quiet_flips.h"

#include "app/app.h"
#include "display/display.h"

#include <benchmark/benchmark.h>

namespace {

void FrameBody(benchmark::State &state) {
    if (!TakeDemoDisplay()) {
        state.SkipWithError("the demo's display could not be set up (see stderr)");
        return;
    }
    const int frame = static_cast<int>(state.range(0));
    const WaveState before = WaveAtFrame(frame - 1);
    QuietFlips();
    for (auto _ : state) {
        WaveState wave = before;
        DrawFrame(&wave);
    }
    state.counters["row_copies"] = RowCopies(WaveAtFrame(frame));
    PumpWindowMessages();
}
// 1: still; 100: a middle amplitude; 335: the most row copies (240 + 785).
BENCHMARK(FrameBody)->Arg(1)->Arg(100)->Arg(335)->UseRealTime();

// The parts of the frame body, to see where its time goes.
void Clear(benchmark::State &state) {
    if (!TakeDemoDisplay()) {
        state.SkipWithError("the demo's display could not be set up (see stderr)");
        return;
    }
    for (auto _ : state)
        ClearSurface(g_pDDSBack);
    PumpWindowMessages();
}
BENCHMARK(Clear)->UseRealTime();

void WaveRows(benchmark::State &state) {
    if (!TakeDemoDisplay()) {
        state.SkipWithError("the demo's display could not be set up (see stderr)");
        return;
    }
    const WaveState wave = WaveAtFrame(static_cast<int>(state.range(0)));
    ClearSurface(g_pDDSBack);
    for (auto _ : state)
        DrawWave(&wave);
    state.counters["row_copies"] = RowCopies(wave);
    PumpWindowMessages();
}
BENCHMARK(WaveRows)->Arg(335)->UseRealTime();

void Flip(benchmark::State &state) {
    if (!TakeDemoDisplay()) {
        state.SkipWithError("the demo's display could not be set up (see stderr)");
        return;
    }
    QuietFlips();
    for (auto _ : state)
        FlipScreen();
    PumpWindowMessages();
}
BENCHMARK(Flip)->UseRealTime();

} // namespace
