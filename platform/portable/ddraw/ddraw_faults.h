// Fault injection for the portable DirectDraw, for tests only: makes one
// chosen operation fail with a chosen result, so that what a caller does
// after each kind of failure can be exercised without a broken display.
// Only the build of DirectDraw that the tests link (ONDULIX_TEST_HOOKS)
// has it; in the program people run, every operation goes through.
#pragma once

#include "platform/portable/include/win_types.h"

namespace portable {

// The operations that can be made to fail.
enum class DirectDrawCall {
    Create,              // DirectDrawCreate
    SetCooperativeLevel, // IDirectDraw
    SetDisplayMode,      // IDirectDraw
    CreateSurface,       // IDirectDraw
    CreatePalette,       // IDirectDraw
    GetAttachedSurface,  // IDirectDrawSurface
    SetPalette,          // IDirectDrawSurface
    SetEntries,          // IDirectDrawPalette
};

// The next call of the operation, after `skip` calls that go through as
// usual, returns `result` and does nothing else; a creating call leaves its
// out-pointer null, as DirectDraw does. One pending fault per operation: a
// second request replaces the first.
void FailNextDirectDrawCall(DirectDrawCall call, HRESULT result, unsigned skip = 0);

// Forgets every fault that has not been taken yet.
void ClearDirectDrawFaults();

// Consulted at the start of each operation above: the result to fail with,
// or DD_OK (0) to carry on. Taking a fault disarms it.
#ifdef ONDULIX_TEST_HOOKS
HRESULT TakeDirectDrawFault(DirectDrawCall call);
#else
// In the program people run it is a plain DD_OK, not a function: an inline
// one would still be emitted (as a weak symbol) in a build without
// optimisation, and the program would carry the hook's name after all.
#define TakeDirectDrawFault(call) HRESULT(0)
#endif

} // namespace portable
