#include "platform/portable/windowing/sdl/sdl_window_scale.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace portable {
namespace {

constexpr int kMaxScale = 8;

// The value of "Xft.dpi:" at the start of a line of the resources, or 0.
double XftDpi(const char *resources) {
    static const char kName[] = "Xft.dpi:";
    for (const char *line = resources; line != nullptr && *line != '\0';) {
        if (std::strncmp(line, kName, sizeof(kName) - 1) == 0)
            return std::strtod(line + sizeof(kName) - 1, nullptr); // skips the blanks
        line = std::strchr(line, '\n');
        if (line != nullptr)
            ++line;
    }
    return 0;
}

} // namespace

int ChooseWindowScale(const char *setting, const char *xResources) {
    if (setting != nullptr && setting[0] != '\0') {
        char *end = nullptr;
        const long n = std::strtol(setting, &end, 10);
        if (*end == '\0' && n >= 1 && n <= kMaxScale)
            return static_cast<int>(n);
    }
    const double dpi = XftDpi(xResources);
    if (!(dpi >= 96.0)) // also refuses NaN
        return 1;
    const long n = std::lround(dpi / 96.0);
    return static_cast<int>(n < kMaxScale ? n : kMaxScale);
}

} // namespace portable
