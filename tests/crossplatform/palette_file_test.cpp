// The palette read from a file's bytes 54-1077, byte for byte, on either
// platform: binary reads (no line-end or end-of-file translation), blue-
// green-red order, the fourth byte dropped, 255 past the end of the file.
#include "display/display.h"
#include "image/image.h"
#include "tests/crossplatform/surface_fixture.h"

#include <cctype>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The colour table bytes a file holds at 54 + 4i: blue, green, red, reserved.
std::vector<uint8_t> FileWithTable(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>((i * 37 + 11) % 256);
    return bytes;
}

class PaletteFile : public crossplatform::SurfaceTest {
  protected:
    void SetUp() override {
        SurfaceTest::SetUp();
        g_pDDPal = CreatePalette();
        // A name of this test's own: the tests run side by side, each in its
        // own process, and one must not remove another's file.
        const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "_" + test->name();
        for (char &c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        path_ = ::testing::TempDir() + "ondulix_palette_" + name + ".bmp";
    }
    void TearDown() override {
        g_pDDPal = nullptr; // owned by the fixture
        std::remove(path_.c_str());
        SurfaceTest::TearDown();
    }
    void Load(const std::vector<uint8_t> &bytes) {
        std::FILE *f = std::fopen(path_.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        if (!bytes.empty())
            std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        EXPECT_EQ(LoadBmpPalette(path_.c_str()), DD_OK);
    }
    // The colour of entry i as the file gives it (255 past its end).
    static void ExpectEntry(const std::vector<uint8_t> &file, int i) {
        auto at = [&](size_t offset) -> int { return offset < file.size() ? file[offset] : 255; };
        const size_t base = 54 + 4 * static_cast<size_t>(i);
        EXPECT_EQ(g_PalEntries[i].peBlue, at(base)) << "entry " << i;
        EXPECT_EQ(g_PalEntries[i].peGreen, at(base + 1)) << "entry " << i;
        EXPECT_EQ(g_PalEntries[i].peRed, at(base + 2)) << "entry " << i;
        EXPECT_EQ(g_PalEntries[i].peFlags, PC_RESERVED) << "entry " << i;
    }

    std::string path_;
};

TEST_F(PaletteFile, TableBytesBecomeEntriesInBlueGreenRedOrder) {
    std::vector<uint8_t> file = FileWithTable(1078 + 100);
    file[54] = 10;
    file[55] = 20;
    file[56] = 30;
    file[57] = 40;
    Load(file);
    EXPECT_EQ(g_PalEntries[0].peRed, 30);
    EXPECT_EQ(g_PalEntries[0].peGreen, 20);
    EXPECT_EQ(g_PalEntries[0].peBlue, 10);
    for (int i = 0; i < 256; ++i)
        ExpectEntry(file, i);
    // The display palette takes the same colours (entries 0 and 255 may be
    // pinned by Windows' DirectDraw, so the others are compared).
    PALETTEENTRY shown[256];
    ASSERT_EQ(g_pDDPal->GetEntries(0, 0, 256, shown), DD_OK);
    for (int i = 1; i < 255; ++i) {
        EXPECT_EQ(shown[i].peRed, g_PalEntries[i].peRed) << "entry " << i;
        EXPECT_EQ(shown[i].peBlue, g_PalEntries[i].peBlue) << "entry " << i;
    }
}

TEST_F(PaletteFile, LineEndAndEndOfFileBytesAreReadAsThemselves) {
    std::vector<uint8_t> file = FileWithTable(1078);
    const uint8_t awkward[] = {13, 10, 26, 13, 10, 13, 26, 26};
    for (size_t i = 0; i < sizeof(awkward); ++i)
        file[54 + i] = awkward[i];
    Load(file);
    EXPECT_EQ(g_PalEntries[0].peBlue, 13);
    EXPECT_EQ(g_PalEntries[0].peGreen, 10);
    EXPECT_EQ(g_PalEntries[0].peRed, 26);
    EXPECT_EQ(g_PalEntries[1].peBlue, 10);
    EXPECT_EQ(g_PalEntries[1].peGreen, 13);
    EXPECT_EQ(g_PalEntries[1].peRed, 26);
    for (int i = 2; i < 256; ++i)
        ExpectEntry(file, i);
}

class ShortPaletteFile : public PaletteFile, public ::testing::WithParamInterface<size_t> {};

TEST_P(ShortPaletteFile, ReadsWhatIsThereAnd255Beyond) {
    const std::vector<uint8_t> file = FileWithTable(GetParam());
    Load(file);
    for (int i = 0; i < 256; ++i)
        ExpectEntry(file, i);
}

// 1,077 lacks only the last reserved byte; 1,076 also entry 255's red; 54
// and fewer hold no table at all.
INSTANTIATE_TEST_SUITE_P(Sizes, ShortPaletteFile,
                         ::testing::Values(size_t{1077}, size_t{1076}, size_t{600}, size_t{55},
                                           size_t{54}, size_t{0}));

} // namespace
