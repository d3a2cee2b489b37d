// The palette loader in the demo's own display: the colours it reads reach
// the screen at once, and a refusal of the display palette comes back to
// the caller. What it reads from a file, byte by byte and however short the
// file, is tests/crossplatform/palette_file_test.cpp's, on both platforms.
#include "display/display.h"
#include "image/image.h"
#include "platform/portable/ddraw/ddraw_faults.h"
#include "tests/support/headless_screen.h"
#include "tests/support/program_state.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/surfaces.h"

#include <gtest/gtest.h>

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

// Entry i of a file's colour table as the loader must read it: blue, green
// and red at 54 + 4i, 55 + 4i, 56 + 4i, and 255 for each of those bytes that
// lies past the end of the file.
PALETTEENTRY TableEntry(const std::vector<uint8_t> &file, int i) {
    const auto at = [&](size_t offset) -> BYTE {
        return offset < file.size() ? file[offset] : 255;
    };
    const size_t base = 54 + 4 * static_cast<size_t>(i);
    return PALETTEENTRY{at(base + 2), at(base + 1), at(base), PC_RESERVED};
}

class PaletteLoader : public testsupport::ProgramStateTest {
  protected:
    void SetUp() override {
        screen.onShow = [this](HWND, const portable::ScreenFrame &frame) {
            shownPalette.assign(frame.palette, frame.palette + 256);
        };
        ASSERT_EQ(InitDirectDraw(window.hwnd()), 1);
    }

    testsupport::TestWindow window;
    testsupport::HeadlessScreen screen;
    testsupport::ScratchDir dir;
    std::vector<PALETTEENTRY> shownPalette; // as last put on the screen
};

TEST_F(PaletteLoader, PutsTheFilesColoursOnTheScreenAtOnce) {
    // A whole table, and one that ends mid-table.
    for (size_t size : {size_t{1078}, size_t{600}}) {
        const std::vector<uint8_t> file = PatternBytes(size);
        const std::string path = dir.Write("earth.bmp", file);
        shownPalette.clear();
        EXPECT_EQ(LoadBmpPalette(path.c_str()), DD_OK);
        ASSERT_EQ(shownPalette.size(), 256u);
        for (int i = 0; i < 256; ++i) {
            const PALETTEENTRY c = TableEntry(file, i);
            EXPECT_EQ(shownPalette[i].peRed, c.peRed) << size << " bytes, colour " << i;
            EXPECT_EQ(shownPalette[i].peGreen, c.peGreen) << size << " bytes, colour " << i;
            EXPECT_EQ(shownPalette[i].peBlue, c.peBlue) << size << " bytes, colour " << i;
        }
    }
}

TEST_F(PaletteLoader, ASetEntriesFailureIsHandedBackWithTheTableFilled) {
    portable::FailNextDirectDrawCall(portable::DirectDrawCall::SetEntries, DDERR_SURFACELOST);
    const std::vector<uint8_t> file = PatternBytes(1078);
    const std::string path = dir.Write("earth.bmp", file);
    EXPECT_EQ(LoadBmpPalette(path.c_str()), DDERR_SURFACELOST);
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY c = TableEntry(file, i);
        EXPECT_EQ(g_PalEntries[i].peRed, c.peRed) << "entry " << i;
        EXPECT_EQ(g_PalEntries[i].peGreen, c.peGreen) << "entry " << i;
        EXPECT_EQ(g_PalEntries[i].peBlue, c.peBlue) << "entry " << i;
    }
}

} // namespace
