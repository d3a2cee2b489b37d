#include "tests/support/callback_presenter.h"

#include <cstdio>

namespace testsupport {

const char kReleaseMarkerLine[] = "display given back\n";

ReleaseMarker::ReleaseMarker() {
    presenter.onLeave = [](HWND) {
        std::fputs(kReleaseMarkerLine, stderr);
        std::fflush(stderr);
    };
}

} // namespace testsupport
