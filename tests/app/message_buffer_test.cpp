// The message buffer and the not-found message: 256 bytes, the name then
// the words in code page 932, and a name too long for it cut at a
// character boundary, never written past.
#include "app/app.h"
#include "tests/support/case_names.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

namespace {

// The format's bytes after "%s", written out here on their own: a space,
// then "ファイルが見つかりません" in code page 932.
const std::string kWordsSjis = " \x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x8C\xA9"
                               "\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1";

bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// True when the text is whole code page 932 characters: no lead byte
// without the byte that completes it.
bool EndsOnACharacter(const std::string &text) {
    size_t i = 0;
    while (i < text.size())
        i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    return i == text.size();
}

std::string Repeat(const std::string &piece, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

TEST(NotFoundMessage, IsTheNameThenTwentyFiveBytesOfWordsInAFixedBuffer) {
    EXPECT_EQ(sizeof(g_MsgBuf), 256u);
    EXPECT_EQ(std::strlen(g_szNotFoundFormat), 27u);
    EXPECT_EQ(std::string(g_szNotFoundFormat), "%s" + kWordsSjis);
    const char *text = FormatMsgBuf(g_szNotFoundFormat, "earth.bmp");
    EXPECT_EQ(text, g_MsgBuf);
    EXPECT_EQ(std::string(text), "earth.bmp" + kWordsSjis);
}

struct NameCase {
    const char *name;
    std::string fileName;
    size_t expectedLength;
};

std::ostream &operator<<(std::ostream &os, const NameCase &c) {
    return os << c.name;
}

const NameCase kNameCases[] = {
    {"230 bytes, the longest that fits", std::string(230, 'a'), 255},
    {"231 bytes: the last character's first byte is dropped", std::string(231, 'a'), 254},
    {"232 bytes: the cut falls between characters", std::string(232, 'a'), 255},
    {"300 bytes: only the name", std::string(300, 'a'), 255},
    {"Japanese name cut inside a character", Repeat("\x83\x74", 150), 254},
    {"Japanese name cut between characters", "a" + Repeat("\x83\x74", 150), 255},
    // 0x81 is a second byte here, though it could also start a character.
    {"second bytes that look like first bytes", "a" + Repeat("\x83\x81", 150), 255},
};

class LongFileName : public ::testing::TestWithParam<NameCase> {};

TEST_P(LongFileName, IsCutToFitTheBufferAtACharacterBoundary) {
    const NameCase c = GetParam();
    const std::string full = c.fileName + kWordsSjis;
    const std::string text = FormatMsgBuf(g_szNotFoundFormat, c.fileName.c_str());
    EXPECT_EQ(text.size(), c.expectedLength);
    EXPECT_LE(text.size(), 255u);
    EXPECT_EQ(full.compare(0, text.size(), text), 0) << "not the start of the whole message";
    EXPECT_TRUE(EndsOnACharacter(text));
}

INSTANTIATE_TEST_SUITE_P(Names, LongFileName, ::testing::ValuesIn(kNameCases),
                         testsupport::NameField());

} // namespace
