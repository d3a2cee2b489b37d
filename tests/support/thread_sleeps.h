// How often the calling thread has gone to sleep so far: its voluntary
// context switches, as /proc counts them. A wait that sleeps adds one or
// more; code that never waits adds none, however long it takes. So tests can
// tell waiting from spinning without timing anything.
#pragma once

namespace testsupport {

// -1 when /proc cannot be read.
long ThreadSleeps();

} // namespace testsupport
