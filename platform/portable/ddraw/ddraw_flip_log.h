// A record of when each flip reached the display, for measuring the running
// demo's start-up and frame pacing (tools/bench.sh). Off unless the
// environment variable ONDULIX_FLIP_LOG names a file; then every new flip
// appends one line "FLIP NANOSECONDS": the flip's number (1 is the first
// frame) and the CLOCK_MONOTONIC time in nanoseconds. Each line is flushed at
// once, so a watcher sees it while the demo runs.
#pragma once

namespace portable {

// Called for every frame handed to the display; the flip number tells new
// flips from a frame shown again (a palette change).
void FlipLogRecord(unsigned flips);

} // namespace portable
