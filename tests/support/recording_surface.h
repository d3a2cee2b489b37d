// A destination surface that remembers every BltFast it is asked for and
// passes each on to a real surface, so a test can check both the call and
// the pixels it produced.
#pragma once

#include "tests/support/forwarding_surface.h"

#include <vector>

namespace testsupport {

struct BltFastCall {
    DWORD x;
    DWORD y;
    LPDIRECTDRAWSURFACE src;
    RECT rect;
    DWORD flags;
};

class RecordingSurface final : public ForwardingSurface {
  public:
    explicit RecordingSurface(LPDIRECTDRAWSURFACE inner) : ForwardingSurface(inner) {}

    std::vector<BltFastCall> calls;

    HRESULT STDMETHODCALLTYPE BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE src, LPRECT rect,
                                      DWORD flags) override {
        calls.push_back({x, y, src, *rect, flags});
        return inner_->BltFast(x, y, src, rect, flags);
    }
    // Lives on the test's stack: references are not counted.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

} // namespace testsupport
