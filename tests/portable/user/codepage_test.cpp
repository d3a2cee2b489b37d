// The narrow text of this platform is code page 932 (Shift-JIS), as on a
// Japanese Windows: it reaches the screen converted to UTF-8.
#include "platform/portable/user/user_codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using portable::AnsiToUtf8;

struct Conversion {
    const char *what;
    std::string ansi;
    std::string utf8;
};

const std::string kReplacement = "\xEF\xBF\xBD"; // U+FFFD

const Conversion kConversions[] = {
    {"plain ASCII", "earth.bmp", "earth.bmp"},
    {"empty", "", ""},
    // The demo's not-found message for earth.bmp, byte for byte.
    {"the not-found message",
     "earth.bmp \x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC"
     "\x82\xB9\x82\xF1",
     "earth.bmp \xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE3\x81\x8C\xE8\xA6\x8B\xE3\x81"
     "\xA4\xE3\x81\x8B\xE3\x82\x8A\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93"},
    {"half-width katakana", "\xB1\xBA", "\xEF\xBD\xB1\xEF\xBD\xBA"},
    {"backslash stays a backslash", "C:\\demo", "C:\\demo"},
    {"full-width Latin", "\x82\x60", "\xEF\xBC\xA1"},
    {"invalid byte replaced, the rest kept", "a\x80z", "a" + kReplacement + "z"},
    {"bad second byte replaced alone", "\x83 x", kReplacement + " x"},
    {"lead byte cut off at the end", "ok\x83", "ok" + kReplacement},
};

TEST(AnsiToUtf8, ConvertsCodePage932Text) {
    for (const Conversion &c : kConversions)
        EXPECT_EQ(AnsiToUtf8(c.ansi.c_str()), c.utf8) << c.what;
}

TEST(AnsiToUtf8, ConvertsTextLongerThanOneWorkingBuffer) {
    // 300 two-byte characters become 900 bytes of UTF-8: several passes.
    std::string ansi, utf8;
    for (int i = 0; i < 300; ++i) {
        ansi += "\x82\xA0"; // HIRAGANA LETTER A
        utf8 += "\xE3\x81\x82";
    }
    EXPECT_EQ(AnsiToUtf8(ansi.c_str()), utf8);
}

TEST(AnsiToUtf8, NoTextIsEmpty) {
    EXPECT_EQ(AnsiToUtf8(nullptr), "");
}

} // namespace
