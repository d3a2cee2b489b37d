// The frame body of frame 335 as the browser runs it (WebAssembly, built
// like the demo, Asyncify included), timed as bench/frame_body_bench.cpp
// times it natively: the demo's display set up with its own calls, then per
// iteration its DrawFrame from frame 334's state: the clear, the wave step,
// both halves of rows and a flip that presents nothing. Google Benchmark does not build
// for the web, so the loop is timed here: REPETITIONS runs of as many
// iterations as fill about 0.2 s each, the median of their means printed as
// one line of JSON, {"frame_body_335_us": ..., ...}.
//
// Usage (its page, bench/web/frame_body.html, passes them): [REPETITIONS]
#include "bench/bench_display.h"
#include "bench/quiet_flips.h"

#include "app/app.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const int kFrame = 335;

// Mean microseconds of one frame body over `iterations` of them.
double TimeIterations(const WaveState &before, int iterations) {
    const double start = emscripten_get_now();
    for (int i = 0; i < iterations; ++i) {
        WaveState wave = before;
        DrawFrame(&wave);
    }
    return (emscripten_get_now() - start) * 1000.0 / iterations;
}

} // namespace

int main(int argc, char **argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    if (!TakeDemoDisplay())
        return 1;
    QuietFlips();
    const WaveState before = WaveAtFrame(kFrame - 1);
    // Warm up, then size a repetition: the browser's clock may count in
    // steps of 0.1 ms, so each repetition lasts far longer than that.
    const double estimate = TimeIterations(before, 200);
    const int iterations = std::max(100, static_cast<int>(200000.0 / std::max(estimate, 1.0)));
    std::vector<double> means;
    for (int r = 0; r < repetitions; ++r)
        means.push_back(TimeIterations(before, iterations));
    std::vector<double> sorted = means;
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    const double median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    std::printf("{\"frame_body_335_us\": %.3f, \"min_us\": %.3f, \"max_us\": %.3f, "
                "\"repetitions\": %d, \"iterations\": %d, \"row_copies\": %d}\n",
                median, sorted.front(), sorted.back(), repetitions, iterations,
                RowCopies(WaveAtFrame(kFrame)));
    std::fflush(stdout);
    PumpWindowMessages();
    return 0;
}
