// The browser build's code page conversion: the page's own decoder does it
// (canvas_ansi_to_utf8), so the program carries no conversion tables.
#include "platform/portable/windowing/canvas/canvas.h"
#include "platform/portable/user/user_codepage.h"

namespace portable {

std::string AnsiToUtf8(const char *text) {
    if (text == nullptr)
        return {};
    std::string out(static_cast<size_t>(canvas_ansi_to_utf8(text, nullptr, 0)), '\0');
    canvas_ansi_to_utf8(text, out.data(), static_cast<int>(out.size()) + 1);
    return out;
}

} // namespace portable
