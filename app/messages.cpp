// The shared window handle, the message buffer and the texts of the
// program. The texts are bytes of code page 932, written as escapes so the
// source stays plain ASCII.
#include "app/app.h"

#include <cstdio>

HWND g_hWnd = nullptr;

char g_MsgBuf[256];

// 27 bytes and the terminating zero.
const char g_szNotFoundFormat[] = "%s "
                                  "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x8C\xA9"
                                  "\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1";

const char g_szInitFailed[] = "\x89\xE6\x96\xCA\x82\xF0\x8F\x89\x8A\xFA\x89\xBB"
                              "\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";

static_assert(sizeof(g_szNotFoundFormat) == 28, "the not-found format is 27 bytes");

namespace {

// Lead bytes of the two-byte characters of code page 932.
bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

} // namespace

const char *FormatMsgBuf(const char *format, const char *argument) {
    const int wanted = std::snprintf(g_MsgBuf, sizeof(g_MsgBuf), format, argument);
    if (wanted >= static_cast<int>(sizeof(g_MsgBuf))) {
        // Cut short: drop a lead byte whose second byte did not fit, so the
        // text does not end in half a character.
        size_t i = 0;
        size_t last = 0;
        while (g_MsgBuf[i] != '\0') {
            last = i;
            const bool pair =
                IsLeadByte(static_cast<unsigned char>(g_MsgBuf[i])) && g_MsgBuf[i + 1] != '\0';
            i += pair ? 2 : 1;
        }
        if (i > 0 && IsLeadByte(static_cast<unsigned char>(g_MsgBuf[last])) && last + 1 == i)
            g_MsgBuf[last] = '\0';
    }
    return g_MsgBuf;
}
