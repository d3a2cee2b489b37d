// The browser build's code page conversion: the page's own decoder does it
// (canvas_ansi_to_utf8), so the program carries no conversion tables.
#include "platform/portable/user/user_codepage.h"

// The page's decoder, in the browser build's page library
// (windowing/canvas/canvas_library.js).
extern "C" {
// `ansi`, text in code page 932, as UTF-8 in `utf8` with its NUL, cut to
// `size` bytes at most (none written when size is 0); returns how many bytes
// the whole text takes as UTF-8, without the NUL. Invalid sequences become
// U+FFFD, but for a lone byte 0x80, which the web's mapping keeps as U+0080.
int canvas_ansi_to_utf8(const char *ansi, char *utf8, int size);
}

namespace portable {

std::string AnsiToUtf8(const char *text) {
    if (text == nullptr)
        return {};
    std::string out(static_cast<size_t>(canvas_ansi_to_utf8(text, nullptr, 0)), '\0');
    canvas_ansi_to_utf8(text, out.data(), static_cast<int>(out.size()) + 1);
    return out;
}

} // namespace portable
