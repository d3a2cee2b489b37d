#include "platform/portable/ddraw/ddraw_faults.h"

#include <cstddef>

namespace portable {
namespace {

struct PendingFault {
    bool armed = false;
    unsigned skip = 0;
    HRESULT result = 0;
};

constexpr size_t kCalls = static_cast<size_t>(DirectDrawCall::SetEntries) + 1;
PendingFault g_faults[kCalls];

PendingFault &FaultFor(DirectDrawCall call) {
    return g_faults[static_cast<size_t>(call)];
}

} // namespace

void FailNextDirectDrawCall(DirectDrawCall call, HRESULT result, unsigned skip) {
    PendingFault &fault = FaultFor(call);
    fault.armed = true;
    fault.skip = skip;
    fault.result = result;
}

void ClearDirectDrawFaults() {
    for (PendingFault &fault : g_faults)
        fault = PendingFault{};
}

HRESULT TakeDirectDrawFault(DirectDrawCall call) {
    PendingFault &fault = FaultFor(call);
    if (!fault.armed)
        return 0;
    if (fault.skip > 0) {
        --fault.skip;
        return 0;
    }
    fault.armed = false;
    return fault.result;
}

} // namespace portable
