#include "bench/pacing_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

std::vector<FlipTime> ReadFlipLog(const std::string &path) {
    std::vector<FlipTime> flips;
    std::FILE *file = std::fopen(path.c_str(), "r");
    if (file == nullptr)
        return flips;
    char line[128];
    // A line still being written has no newline yet: it is left for later.
    while (std::fgets(line, sizeof(line), file) != nullptr) {
        FlipTime t;
        unsigned long long ns = 0;
        if (std::sscanf(line, "%u %llu", &t.flip, &ns) != 2 || line[0] == '\0' ||
            line[std::char_traits<char>::length(line) - 1] != '\n')
            break;
        t.ns = ns;
        flips.push_back(t);
    }
    std::fclose(file);
    return flips;
}

namespace {

double Percentile(const std::vector<double> &sorted, double p) {
    const size_t rank = static_cast<size_t>(std::ceil(p / 100.0 * sorted.size()));
    return sorted[std::max<size_t>(rank, 1) - 1];
}

} // namespace

PacingStats IntervalStats(const std::vector<FlipTime> &flips) {
    PacingStats stats;
    if (flips.size() < 2)
        return stats;
    std::vector<double> ms;
    for (size_t i = 1; i < flips.size(); ++i)
        ms.push_back(static_cast<double>(flips[i].ns - flips[i - 1].ns) / 1e6);
    std::sort(ms.begin(), ms.end());
    stats.intervals = ms.size();
    stats.meanMs = std::accumulate(ms.begin(), ms.end(), 0.0) / static_cast<double>(ms.size());
    stats.p50Ms = Percentile(ms, 50);
    stats.p99Ms = Percentile(ms, 99);
    stats.maxMs = ms.back();
    return stats;
}
