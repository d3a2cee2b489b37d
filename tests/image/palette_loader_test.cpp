// The palette read from the picture file by position alone: bytes 54-1077
// as 256 blue-green-red-reserved entries, whatever the file holds and however
// short it is, into the palette table and at once onto the screen.
#include "display/display.h"
#include "image/image.h"
#include "platform/portable/ddraw/ddraw_faults.h"
#include "tests/support/headless_screen.h"
#include "tests/support/case_names.h"
#include "tests/support/program_state.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/surfaces.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

// Bytes that are never 255, so that a 255 in the palette can only come from
// a read past the end of the file.
std::vector<uint8_t> PatternBytes(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>((i * 37 + 11) % 255);
    return bytes;
}

struct Colour {
    int red, green, blue;
};

// Entry i of a file's colour table as the loader must read it: blue, green
// and red at 54 + 4i, 55 + 4i, 56 + 4i, and 255 for each of those bytes that
// lies past the end of the file.
Colour TableEntry(const std::vector<uint8_t> &file, int i) {
    const auto at = [&](size_t offset) { return offset < file.size() ? file[offset] : 255; };
    const size_t base = 54 + 4 * static_cast<size_t>(i);
    return Colour{at(base + 2), at(base + 1), at(base)};
}

class PaletteLoader : public testsupport::ProgramStateTest {
  protected:
    void SetUp() override {
        screen.onShow = [this](HWND, const portable::ScreenFrame &frame) {
            shownPalette.assign(frame.palette, frame.palette + 256);
        };
        ASSERT_EQ(InitDirectDraw(window.hwnd()), 1);
    }

    // Loads the bytes as a picture file and checks the table, the display
    // palette and the screen against the file's colour table.
    void ExpectPaletteOf(const std::vector<uint8_t> &file) {
        const std::string path = dir.Write("earth.bmp", file);
        EXPECT_EQ(LoadBmpPalette(path.c_str()), DD_OK);
        PALETTEENTRY display[256];
        ASSERT_EQ(g_pDDPal->GetEntries(0, 0, 256, display), DD_OK);
        ASSERT_EQ(shownPalette.size(), 256u);
        for (int i = 0; i < 256; ++i) {
            const Colour c = TableEntry(file, i);
            const PALETTEENTRY &e = g_PalEntries[i];
            EXPECT_EQ(e.peRed, c.red) << "entry " << i;
            EXPECT_EQ(e.peGreen, c.green) << "entry " << i;
            EXPECT_EQ(e.peBlue, c.blue) << "entry " << i;
            EXPECT_EQ(e.peFlags, PC_RESERVED) << "entry " << i;
            EXPECT_EQ(display[i].peRed, c.red) << "display entry " << i;
            EXPECT_EQ(display[i].peGreen, c.green) << "display entry " << i;
            EXPECT_EQ(display[i].peBlue, c.blue) << "display entry " << i;
            EXPECT_EQ(shownPalette[i].peRed, c.red) << "screen colour " << i;
            EXPECT_EQ(shownPalette[i].peGreen, c.green) << "screen colour " << i;
            EXPECT_EQ(shownPalette[i].peBlue, c.blue) << "screen colour " << i;
        }
    }

    testsupport::TestWindow window;
    testsupport::HeadlessScreen screen;
    testsupport::ScratchDir dir;
    std::vector<PALETTEENTRY> shownPalette; // as last put on the screen
};

TEST_F(PaletteLoader, TakesBlueGreenRedInThatOrderAndDropsTheFourthByte) {
    std::vector<uint8_t> file = PatternBytes(1078);
    file[54] = 10;
    file[55] = 20;
    file[56] = 30;
    file[57] = 40;
    const std::string path = dir.Write("earth.bmp", file);
    EXPECT_EQ(LoadBmpPalette(path.c_str()), DD_OK);
    EXPECT_EQ(g_PalEntries[0].peRed, 30);
    EXPECT_EQ(g_PalEntries[0].peGreen, 20);
    EXPECT_EQ(g_PalEntries[0].peBlue, 10);
    EXPECT_EQ(g_PalEntries[0].peFlags, 1);
}

TEST_F(PaletteLoader, ReadsCarriageReturnLineFeedAndEndOfFileBytesAsThemselves) {
    std::vector<uint8_t> file = PatternBytes(1078);
    const uint8_t controls[] = {13, 10, 26, 13, 10, 10, 26, 26, 13, 26, 10, 13};
    for (size_t i = 0; i < sizeof(controls); ++i)
        file[54 + i] = controls[i]; // entries 0-2, reserved bytes included
    file[54 + 4 * 100] = 26;        // end-of-file byte mid-table
    file[54 + 4 * 100 + 1] = 13;
    file[54 + 4 * 100 + 2] = 10;
    ExpectPaletteOf(file);
    EXPECT_EQ(g_PalEntries[0].peBlue, 13);
    EXPECT_EQ(g_PalEntries[0].peGreen, 10);
    EXPECT_EQ(g_PalEntries[0].peRed, 26);
    EXPECT_EQ(g_PalEntries[100].peBlue, 26);
    EXPECT_EQ(g_PalEntries[100].peGreen, 13);
    EXPECT_EQ(g_PalEntries[100].peRed, 10);
}

struct FileSizeCase {
    const char *name;
    size_t size;
};

std::ostream &operator<<(std::ostream &os, const FileSizeCase &c) {
    return os << c.name;
}

const FileSizeCase kFileSizes[] = {
    {"the picture file's size", 43078},
    {"exactly headers and table", 1078},
    {"lacking only the last reserved byte", 1077},
    {"lacking entry 255's red as well", 1076},
    {"ending mid-table", 600},
    {"headers only", 54},
    {"shorter than the headers", 20},
    {"empty", 0},
};

class PaletteFileSize : public PaletteLoader, public ::testing::WithParamInterface<FileSizeCase> {};

TEST_P(PaletteFileSize, GivesEveryByteBeyondTheEndAs255) {
    // No header in these files is a BMP header: none is looked at.
    ExpectPaletteOf(PatternBytes(GetParam().size));
}

INSTANTIATE_TEST_SUITE_P(Lengths, PaletteFileSize, ::testing::ValuesIn(kFileSizes),
                         testsupport::NameField());

TEST_F(PaletteLoader, ASetEntriesFailureIsHandedBackWithTheTableFilled) {
    portable::FailNextDirectDrawCall(portable::DirectDrawCall::SetEntries, DDERR_SURFACELOST);
    const std::vector<uint8_t> file = PatternBytes(1078);
    const std::string path = dir.Write("earth.bmp", file);
    EXPECT_EQ(LoadBmpPalette(path.c_str()), DDERR_SURFACELOST);
    for (int i = 0; i < 256; ++i) {
        const Colour c = TableEntry(file, i);
        EXPECT_EQ(g_PalEntries[i].peRed, c.red) << "entry " << i;
        EXPECT_EQ(g_PalEntries[i].peGreen, c.green) << "entry " << i;
        EXPECT_EQ(g_PalEntries[i].peBlue, c.blue) << "entry " << i;
    }
}

} // namespace
