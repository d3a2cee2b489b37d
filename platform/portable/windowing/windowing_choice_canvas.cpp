// The choice of the windowing back end in the browser build: the page's
// canvas is the only one there is.
#include "platform/portable/windowing/windowing_backends.h"

#include <cstring>

namespace portable {

WindowingSystem &Windowing() {
    return CanvasWindowing();
}

bool UseWindowing(const char *name) {
    return name != nullptr && std::strcmp(name, "canvas") == 0;
}

} // namespace portable
