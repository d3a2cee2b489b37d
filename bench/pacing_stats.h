// Start-up and pacing figures from a flip log: lines "FLIP NANOSECONDS", the
// flips numbered from 1 (see platform/portable/ddraw/ddraw_flip_log.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FlipTime {
    unsigned flip;
    uint64_t ns;
};

// The lines of a flip log; stops at the first line that is not complete.
std::vector<FlipTime> ReadFlipLog(const std::string &path);

struct PacingStats {
    size_t intervals = 0;
    double meanMs = 0, p50Ms = 0, p99Ms = 0, maxMs = 0;
};

// Statistics of the intervals between consecutive flips (nearest-rank
// percentiles). Empty when there are fewer than two flips.
PacingStats IntervalStats(const std::vector<FlipTime> &flips);
