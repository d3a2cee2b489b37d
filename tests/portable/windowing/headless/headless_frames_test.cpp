// The headless back end keeps the last frame and saves the frames it was
// asked for as palettized PNG files: every Nth flip, once each, in the
// palette's colours, top row first; a folder that cannot be written is said
// once and saving stops.
#include "platform/portable/windowing/headless/headless.h"
#include "tests/support/display_fixture.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using testsupport::ScratchDir;

// The picture of a PNG file as RGB, top row first; empty when unreadable.
std::vector<uint8_t> ReadRgb(const std::string &path, int *width, int *height) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr))
        return {};
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    return rgb;
}

// The display taken with ONDULIX_SAVE_FRAMES and ONDULIX_SAVE_EVERY set, as
// the back end reads them when the display is taken.
class SavedFrames : public testsupport::DisplayTest {
  protected:
    void Take(const std::string &folder, const char *every) {
        setenv("ONDULIX_SAVE_FRAMES", folder.c_str(), 1);
        setenv("ONDULIX_SAVE_EVERY", every, 1);
        DisplayTest::SetUp();
    }
    void SetUp() override {}
    void TearDown() override {
        DisplayTest::TearDown();
        unsetenv("ONDULIX_SAVE_FRAMES");
        unsetenv("ONDULIX_SAVE_EVERY");
    }
    // Flip n shows index n at the top left and index 1 elsewhere.
    void Flip(int n) {
        testsupport::WriteSurface(back, [n](int x, int y) -> uint8_t {
            return x == 0 && y == 0 ? static_cast<uint8_t>(n) : 1;
        });
        ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    }

    ScratchDir dir;
};

TEST_F(SavedFrames, EveryNthFlipIsSavedOnceInItsPalettesColours) {
    Take(dir.path(), "2");
    PALETTEENTRY entries[256] = {};
    for (int i = 0; i < 256; ++i)
        entries[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), 7, 0};
    ASSERT_EQ(palette->SetEntries(0, 0, 256, entries), DD_OK);
    for (int n = 1; n <= 4; ++n)
        Flip(n);
    ASSERT_EQ(palette->SetEntries(0, 0, 256, entries), DD_OK); // frame 4 shown again

    for (const char *absent : {"frame-0001.png", "frame-0003.png"})
        EXPECT_TRUE(testsupport::ReadFileBytes(dir.File(absent)).empty()) << absent;
    for (int n : {2, 4}) {
        char name[32];
        std::snprintf(name, sizeof(name), "frame-%04d.png", n);
        int width = 0, height = 0;
        const std::vector<uint8_t> rgb = ReadRgb(dir.File(name), &width, &height);
        ASSERT_EQ(rgb.size(), 640u * 480u * 3u) << name;
        EXPECT_EQ(width, 640);
        EXPECT_EQ(height, 480);
        EXPECT_EQ(std::vector<uint8_t>(rgb.begin(), rgb.begin() + 3),
                  (std::vector<uint8_t>{static_cast<uint8_t>(n), static_cast<uint8_t>(255 - n), 7}))
            << name << ": the top left pixel";
        EXPECT_EQ(std::vector<uint8_t>(rgb.end() - 3, rgb.end()), (std::vector<uint8_t>{1, 254, 7}))
            << name << ": the bottom right pixel";
    }
}

TEST_F(SavedFrames, TheKeptAndTheSavedFrameHaveEveryRowInItsPlace) {
    Take(dir.path(), "1");
    PALETTEENTRY entries[256] = {};
    for (int i = 0; i < 256; ++i)
        entries[i] = {static_cast<BYTE>(i), 0, 0, 0}; // red says the index
    ASSERT_EQ(palette->SetEntries(0, 0, 256, entries), DD_OK);
    const auto value = [](int x, int y) { return static_cast<uint8_t>((7 * y + x) % 251); };
    testsupport::WriteSurface(back, value);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);

    const portable::HeadlessFrame &kept = portable::HeadlessLastFrame();
    int width = 0, height = 0;
    const std::vector<uint8_t> rgb = ReadRgb(dir.File("frame-0001.png"), &width, &height);
    ASSERT_EQ(kept.pixels.size(), 640u * 480u);
    ASSERT_EQ(rgb.size(), 640u * 480u * 3u);
    for (int y = 0; y < 480; ++y)
        for (int x : {0, 639}) {
            const size_t i = static_cast<size_t>(y) * 640 + static_cast<size_t>(x);
            ASSERT_EQ(kept.pixels[i], value(x, y)) << "kept, at " << x << "," << y;
            ASSERT_EQ(rgb[3 * i], value(x, y)) << "saved, at " << x << "," << y;
        }
}

TEST_F(SavedFrames, AFolderThatCannotBeWrittenIsSaidOnceAndSavingStops) {
    Take(dir.File("missing/folder"), "1");
    ::testing::internal::CaptureStderr();
    for (int n = 1; n <= 3; ++n)
        Flip(n);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "cannot write " + dir.File("missing/folder") +
                       "/frame-0001.png: frames are no longer saved\n");
}

} // namespace
