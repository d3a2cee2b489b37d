// LoadImageA on BMP files the tests write: the file is read into a DIB
// section of exactly the requested size, keeping the file's colour table;
// anything that is not a readable, non-empty BMP file gives null, at once.
#include "platform/portable/gdi/gdi_objects.h"
#include "tests/support/dib_files.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

using Bytes = std::vector<uint8_t>;

using testsupport::ScratchDir;

constexpr UINT kFromFile = LR_LOADFROMFILE | LR_CREATEDIBSECTION;

// A 4x3 picture whose index says where the pixel is: 10 * row + column.
const std::vector<uint8_t> kIndices = {0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23};

std::vector<RGBQUAD> RampTable(int entries) {
    std::vector<RGBQUAD> table;
    for (int i = 0; i < entries; ++i)
        table.push_back(testsupport::MakeRgbQuad(static_cast<uint8_t>(i), static_cast<uint8_t>(i),
                                                 static_cast<uint8_t>(255 - i),
                                                 static_cast<uint8_t>(i % 3)));
    return table;
}

class LoadImage : public ::testing::Test {
  protected:
    // The DIB behind the handle, released when the test ends.
    const portable::DibImage *Load(const std::string &path, int cx, int cy,
                                   UINT flags = kFromFile) {
        HANDLE h = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, cx, cy, flags);
        if (h == nullptr)
            return nullptr;
        loaded_.push_back(h);
        portable::GdiBitmap *bitmap = portable::LookupBitmap(h);
        EXPECT_NE(bitmap, nullptr) << "LoadImageA returned something that is not a bitmap";
        return bitmap != nullptr ? &bitmap->image : nullptr;
    }
    void TearDown() override {
        for (HANDLE h : loaded_)
            EXPECT_TRUE(DeleteObject(h));
    }

    ScratchDir dir;

  private:
    std::vector<HANDLE> loaded_;
};

TEST_F(LoadImage, ReadsAnIndexedFileAtItsOwnSizeWithItsColourTable) {
    const std::vector<RGBQUAD> table = RampTable(256);
    const std::string path =
        dir.Write("picture.bmp", testsupport::IndexedBmpFile(4, 3, table, kIndices));
    const portable::DibImage *image = Load(path, 4, 3);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->height, 3);
    EXPECT_EQ(image->indices, kIndices) << "rows top-down, as the picture shows them";
    ASSERT_EQ(image->colors.size(), 256u);
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(image->colors[i].rgbRed, table[i].rgbRed);
        EXPECT_EQ(image->colors[i].rgbGreen, table[i].rgbGreen);
        EXPECT_EQ(image->colors[i].rgbBlue, table[i].rgbBlue);
    }
}

struct SizeCase {
    const char *what;
    int cx, cy;
    int width, height;
    std::vector<uint8_t> indices;
};

TEST_F(LoadImage, GivesExactlyTheRequestedSizeByNearestNeighbour) {
    const std::string path =
        dir.Write("picture.bmp", testsupport::IndexedBmpFile(4, 3, RampTable(32), kIndices));
    const SizeCase cases[] = {
        {"zero means the file's size", 0, 0, 4, 3, kIndices},
        {"halved across", 2, 3, 2, 3, {0, 2, 10, 12, 20, 22}},
        {"one pixel", 1, 1, 1, 1, {0}},
        {"doubled", 8, 6, 8, 6, {0,  0,  1,  1,  2,  2,  3,  3,  0,  0,  1,  1,  2,  2,  3,  3,
                                 10, 10, 11, 11, 12, 12, 13, 13, 10, 10, 11, 11, 12, 12, 13, 13,
                                 20, 20, 21, 21, 22, 22, 23, 23, 20, 20, 21, 21, 22, 22, 23, 23}},
    };
    for (const SizeCase &c : cases) {
        const portable::DibImage *image = Load(path, c.cx, c.cy);
        ASSERT_NE(image, nullptr) << c.what;
        EXPECT_EQ(image->width, c.width) << c.what;
        EXPECT_EQ(image->height, c.height) << c.what;
        EXPECT_EQ(image->indices, c.indices) << c.what;
        EXPECT_EQ(image->colors.size(), 32u) << c.what << ": the colour table stays whole";
    }
}

TEST_F(LoadImage, ReadsADirectColourFile) {
    const std::vector<uint32_t> colours = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456};
    const std::string path = dir.Write("rgb.bmp", testsupport::TrueColourBmpFile(2, 2, colours));
    const portable::DibImage *image = Load(path, 2, 2);
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->indices.empty());
    ASSERT_EQ(image->pixels.size(), 4u);
    for (size_t i = 0; i < colours.size(); ++i)
        EXPECT_EQ(image->pixels[i] & 0xFFFFFF, colours[i]) << "pixel " << i;
}

// Whether the process still maps the file, as /proc/self/maps names it.
bool StillMapped(const std::string &path) {
    char real[PATH_MAX];
    if (realpath(path.c_str(), real) == nullptr) {
        ADD_FAILURE() << "cannot name " << path << " as the maps do";
        return false;
    }
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find(real) != std::string::npos)
            return true;
    return false;
}

TEST_F(LoadImage, TheBitmapNoLongerDependsOnTheFile) {
    const std::string path =
        dir.Write("picture.bmp", testsupport::IndexedBmpFile(4, 3, RampTable(32), kIndices));
    const portable::DibImage *image = Load(path, 4, 3);
    ASSERT_NE(image, nullptr);
    // Let go of, too: a file deleted after loading gives its space back.
    EXPECT_FALSE(StillMapped(path));
    std::vector<uint8_t> zeros(kIndices.size(), 0);
    dir.Write("picture.bmp", testsupport::IndexedBmpFile(4, 3, RampTable(32), zeros));
    ASSERT_EQ(std::remove(path.c_str()), 0);
    EXPECT_EQ(image->indices, kIndices);
}

TEST_F(LoadImage, RefusesWhatIsNotAReadableBmpFile) {
    const std::string good =
        dir.Write("good.bmp", testsupport::IndexedBmpFile(4, 3, RampTable(32), kIndices));
    const std::string empty = dir.Write("empty.bmp", {});
    const std::string text = dir.Write("text.bmp", Bytes(2000, 'x'));
    Bytes truncated = testsupport::IndexedBmpFile(4, 3, RampTable(32), kIndices);
    truncated.resize(60);
    const std::string cut = dir.Write("cut.bmp", truncated);
    const std::string folder = dir.File("folder.bmp");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    // A FIFO with no writer: opening it for reading could wait for ever.
    const std::string fifo = dir.File("fifo.bmp");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string missing = dir.File("missing.bmp"); // outlives the table below

    struct Refusal {
        const char *what;
        const char *path;
        UINT type;
        int cx, cy;
        UINT flags;
    };
    const Refusal refusals[] = {
        {"missing file", missing.c_str(), IMAGE_BITMAP, 4, 3, kFromFile},
        {"empty file", empty.c_str(), IMAGE_BITMAP, 4, 3, kFromFile},
        {"text file", text.c_str(), IMAGE_BITMAP, 4, 3, kFromFile},
        {"truncated file", cut.c_str(), IMAGE_BITMAP, 4, 3, kFromFile},
        {"directory", folder.c_str(), IMAGE_BITMAP, 4, 3, kFromFile},
        {"FIFO", fifo.c_str(), IMAGE_BITMAP, 4, 3, kFromFile},
        {"no name", nullptr, IMAGE_BITMAP, 4, 3, kFromFile},
        {"a resource, not a file", good.c_str(), IMAGE_BITMAP, 4, 3, LR_CREATEDIBSECTION},
        {"an icon", good.c_str(), 1 /* IMAGE_ICON */, 4, 3, kFromFile},
        {"negative width", good.c_str(), IMAGE_BITMAP, -4, 3, kFromFile},
        {"negative height", good.c_str(), IMAGE_BITMAP, 4, -3, kFromFile},
    };
    const size_t objects = portable::LiveGdiObjects();
    for (const Refusal &r : refusals)
        EXPECT_EQ(LoadImageA(nullptr, r.path, r.type, r.cx, r.cy, r.flags), nullptr) << r.what;
    EXPECT_EQ(portable::LiveGdiObjects(), objects) << "a refusal leaves no object behind";
    EXPECT_NE(Load(good, 4, 3), nullptr) << "the good file beside them loads";
}

TEST_F(LoadImage, OpensTheNameRelativeToTheCurrentDirectory) {
    dir.Write("earth.bmp", testsupport::IndexedBmpFile(4, 3, RampTable(32), kIndices));
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    const portable::DibImage *image = Load("earth.bmp", 4, 3);
    ASSERT_EQ(chdir(previous), 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->indices, kIndices);
}

} // namespace
