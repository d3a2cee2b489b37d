// How much memory a piece of work takes at its peak, measured in a forked
// child where nothing else runs: the peak resident size is reset before the
// work, and the address space can be capped so that an unbounded allocation
// fails at once instead of taking the machine.
#pragma once

#include <cstddef>

namespace testsupport {

// Whether the build runs under AddressSanitizer, whose shadow memory and
// reserved heap make an address-space cap meaningless.
bool UnderAddressSanitizer();

// In the child, before the work: resets the peak resident size and, where
// the cap means something, limits the address space to what is mapped now
// plus capBytes. Returns the resident size now, in bytes.
size_t StartPeakMeasurement(size_t capBytes);

// The peak resident size since StartPeakMeasurement, in bytes.
size_t PeakResidentBytes();

} // namespace testsupport
