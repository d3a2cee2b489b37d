// GDI objects: the stock black brush, memory drawing contexts and the
// bitmaps selected into them, and deleting both, with no object left over.
#include "platform/portable/gdi/gdi_objects.h"
#include "platform/portable/gdi/gdi_stock_objects.h"
#include "tests/support/dib_files.h"
#include "tests/support/display_fixture.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

namespace {

TEST(StockObjects, BlackBrushIsBlackSharedAndSurvivesDeletion) {
    HGDIOBJ brush = GetStockObject(BLACK_BRUSH);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(GetStockObject(BLACK_BRUSH), brush) << "one stock brush for every caller";
    EXPECT_TRUE(DeleteObject(brush)) << "deleting a stock object is harmless";
    COLORREF colour = 0x123456;
    ASSERT_TRUE(
        portable::StockBrushColour(static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), &colour));
    EXPECT_EQ(colour, RGB(0, 0, 0));
    ASSERT_TRUE(
        portable::StockBrushColour(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), &colour));
    EXPECT_EQ(colour, RGB(255, 255, 255));
    EXPECT_NE(GetStockObject(WHITE_BRUSH), brush);
}

TEST(StockObjects, IndicesWithoutAnObjectGiveNull) {
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetStockObject(1000), nullptr);
}

class MemoryContexts : public ::testing::Test {
  protected:
    void SetUp() override {
        objects_ = portable::LiveGdiObjects();
        const std::vector<RGBQUAD> table(16, testsupport::MakeRgbQuad(1, 2, 3));
        const std::string path =
            dir_.Write("p.bmp", testsupport::IndexedBmpFile(2, 2, table, {0, 1, 2, 3}));
        for (HBITMAP *b : {&bitmap, &other})
            *b = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                 LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr);
        ASSERT_NE(other, nullptr);
    }
    void TearDown() override {
        DeleteObject(bitmap);
        DeleteObject(other);
        EXPECT_EQ(portable::LiveGdiObjects(), objects_) << "no object was left over";
    }

    HBITMAP bitmap = nullptr, other = nullptr;

  private:
    testsupport::ScratchDir dir_;
    size_t objects_ = 0;
};

TEST_F(MemoryContexts, SelectingHandsBackWhatWasThereAndPutsItBack) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HGDIOBJ original = SelectObject(dc, bitmap);
    ASSERT_NE(original, nullptr) << "a new context holds a default bitmap";
    EXPECT_EQ(SelectObject(dc, other), bitmap);
    EXPECT_EQ(SelectObject(dc, original), other);
    EXPECT_EQ(SelectObject(dc, bitmap), original);
    EXPECT_EQ(SelectObject(dc, original), bitmap);
    EXPECT_TRUE(DeleteDC(dc));
}

TEST_F(MemoryContexts, ASelectedBitmapIsNotDeletedUntilSelectedOut) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ original = SelectObject(dc, bitmap);
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_NE(portable::LookupBitmap(bitmap), nullptr);
    SelectObject(dc, original);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(portable::LookupBitmap(bitmap), nullptr);
    EXPECT_FALSE(DeleteObject(bitmap)) << "a handle is deleted once";
    bitmap = nullptr;
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
}

TEST_F(MemoryContexts, DeletingTheContextLetsGoOfItsBitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_TRUE(DeleteObject(bitmap));
    bitmap = nullptr;
}

TEST_F(MemoryContexts, ABitmapIsSelectedIntoOneContextAtATime) {
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(first);
    ASSERT_NE(second, nullptr) << "a context compatible with a memory context";
    ASSERT_NE(SelectObject(first, bitmap), nullptr);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    EXPECT_TRUE(DeleteDC(first));
    EXPECT_NE(SelectObject(second, bitmap), nullptr) << "free again once its context is gone";
    EXPECT_TRUE(DeleteDC(second));
}

TEST_F(MemoryContexts, RefusesHandlesThatAreNotWhatTheCallNeeds) {
    int bogus = 0;
    HDC notADC = reinterpret_cast<HDC>(&bogus);
    EXPECT_EQ(CreateCompatibleDC(notADC), nullptr);
    EXPECT_EQ(SelectObject(notADC, bitmap), nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_BRUSH)), nullptr);
    EXPECT_FALSE(DeleteObject(dc)) << "a context goes with DeleteDC";
    EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(bitmap)));
    EXPECT_TRUE(DeleteDC(dc));
}

class SurfaceContext : public testsupport::DisplayTest {};

TEST_F(SurfaceContext, IsGivenBackThroughTheSurfaceOnly) {
    HDC surfaceDC = nullptr;
    ASSERT_EQ(work->GetDC(&surfaceDC), DD_OK);
    HDC memoryDC = CreateCompatibleDC(surfaceDC);
    ASSERT_NE(memoryDC, nullptr);
    EXPECT_FALSE(DeleteDC(surfaceDC));
    EXPECT_EQ(SelectObject(surfaceDC, GetStockObject(BLACK_BRUSH)), nullptr);
    EXPECT_FALSE(BitBlt(memoryDC, 0, 0, 1, 1, surfaceDC, 0, 0, SRCCOPY))
        << "only a memory context is drawn into a surface";
    EXPECT_TRUE(DeleteDC(memoryDC));
    EXPECT_EQ(work->ReleaseDC(surfaceDC), DD_OK);
    EXPECT_EQ(portable::LookupDC(surfaceDC), nullptr);
}

} // namespace
