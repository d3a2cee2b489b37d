#include "platform/portable/user/user_codepage.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace portable {

std::string AnsiToUtf8(const char *text) {
    if (text == nullptr)
        return {};
    iconv_t cd = iconv_open("UTF-8", "CP932");
    // musl's iconv (the browser build's) knows the code page only by its
    // JIS name, which covers the characters our texts use.
    if (cd == reinterpret_cast<iconv_t>(-1))
        cd = iconv_open("UTF-8", "SHIFT_JIS");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return text; // no converter: the bytes as they are beat no text at all
    std::string out;
    char *in = const_cast<char *>(text);
    size_t inLeft = std::strlen(text);
    char buffer[256];
    while (inLeft > 0) {
        char *to = buffer;
        size_t toLeft = sizeof(buffer);
        const size_t done = iconv(cd, &in, &inLeft, &to, &toLeft);
        out.append(buffer, static_cast<size_t>(to - buffer));
        if (done == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or cut-off sequence: mark it and go on after its
            // first byte.
            out.append("\xEF\xBF\xBD");
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace portable
