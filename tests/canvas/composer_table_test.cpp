// The transparent table drawn over the background.
#include <gtest/gtest.h>
#include <windows.h>

#include "canvas/composer.h"
#include "canvas/wallpaper_render.h"
#include "core/table_model.h"
#include "support/temp_folder.h"
#include "win32/bitmap_file.h"
#include "win32/image.h"
#include "win32/image_test_pictures.h"

namespace qr {
namespace {

using test::CountOther;
using win::Surface;

constexpr COLORREF kBack = RGB(200, 220, 240);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr std::array<int16_t, 6> kWidths{0, 80, 120, 80, 80, 80};

// Pixels in the rectangle that differ from the background.
int Ink(const Surface& s, int x, int y, int w, int h) { return CountOther(s, x, y, w, h, kBack); }

class TransparentTableTest : public ::testing::Test {
 protected:
  Surface Draw(int16_t rows, int16_t cols, const std::array<int16_t, 6>& widths = kWidths, int32_t x = 100,
               int32_t y = 50) {
    Surface s(640, 480, kBack);
    endY_ = DrawTransparentTable(s, JobTableFrom(table_, rows, cols, widths), {x, y});
    return s;
  }
  Cell& At(int row, int col) { return table_.At(row, col); }

  TableModel table_;
  int32_t endY_ = 0;
};

TEST_F(TransparentTableTest, FramesEveryCellOnTheGridAndAdvancesTableY) {
  const Surface s = Draw(2, 2);  // empty cells: frames only
  EXPECT_EQ(endY_, 50 + 2 * 19);
  // Row 1: column 1 at x 100..179, column 2 at 180..299, rows 19 pixels high.
  for (const POINT p :
       {POINT{100, 50}, POINT{179, 50}, POINT{180, 50}, POINT{299, 50}, POINT{100, 68}, POINT{299, 68},
        POINT{100, 69}, POINT{299, 87}, POINT{140, 50}, POINT{140, 68}, POINT{179, 60}, POINT{180, 60}})
    EXPECT_EQ(s.Pixel(p.x, p.y), kBlack) << p.x << "," << p.y;
  // Inside a frame the background shows through.
  EXPECT_EQ(Ink(s, 101, 51, 78, 17), 0);
  EXPECT_EQ(Ink(s, 181, 70, 118, 17), 0);
  // Nothing outside the table.
  const int frames = 2 * (2 * 80 + 2 * 19 - 4) + 2 * (2 * 120 + 2 * 19 - 4);
  EXPECT_EQ(Ink(s, 0, 0, 640, 480), frames);
}

TEST_F(TransparentTableTest, DrawsEachCellsTextInItsColourClippedToTheCell) {
  At(1, 1).text = std::string("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");  // far wider than 80 pixels
  At(1, 1).foreColor = RGB(255, 0, 0);
  At(1, 1).font = {"Arial", 24.0, true, false};  // taller than the 19-pixel row
  At(1, 2).text = std::string("x");
  At(1, 2).foreColor = 0x80000000u + COLOR_HIGHLIGHT;
  At(1, 2).font = {"Arial", 9.0, false, false};
  const Surface s = Draw(1, 3);

  EXPECT_GT(Ink(s, 101, 51, 78, 17), 100);
  bool red = false;
  for (int y = 51; y < 68 && !red; ++y)
    for (int x = 101; x < 179 && !red; ++x) red = s.Pixel(x, y) == RGB(255, 0, 0);
  EXPECT_TRUE(red);
  EXPECT_EQ(Ink(s, 0, 0, 640, 50), 0);    // nothing above the table
  EXPECT_EQ(Ink(s, 0, 69, 640, 411), 0);  // nor below the row

  bool system = false;
  for (int y = 51; y < 68 && !system; ++y)
    for (int x = 181; x < 299 && !system; ++x) system = s.Pixel(x, y) == GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_TRUE(system);
  EXPECT_EQ(Ink(s, 301, 51, 78, 17), 0);  // an empty cell shows only its frame
}

TEST_F(TransparentTableTest, RendersJapaneseTextAndTheCellsFontStyle) {
  const CellFont gothic{"ＭＳ Ｐゴシック", 12.0, false, false};
  At(1, 1) = {"日", gothic};
  At(1, 2) = {"本", gothic};
  At(2, 1) = {"abc", {"Arial", 10.0, false, false}};
  At(2, 2) = {"abc", {"Arial", 10.0, true, false}};
  At(5, 1) = {"日", {"Arial", 12.0, false, false}};  // Japanese text in a Latin face
  At(5, 2) = {"本", {"Arial", 12.0, false, false}};
  At(3, 1) = {"abc", {"Arial", 10.0, false, false}};
  At(3, 2) = {"abc", {"Arial", 10.0, false, true}};
  At(4, 1) = {"abc", {"Arial", 8.0, false, false}};
  At(4, 2) = {"abc", {"Arial", 12.5, false, false}};
  std::array<int16_t, 6> widths{0, 100, 100, 0, 0, 0};
  const Surface s = Draw(5, 2, widths, 0, 0);

  // Two different characters: two different shapes (a missing glyph would draw the same box twice).
  auto same = [&](int row) {
    for (int y = 1; y < 18; ++y)
      for (int x = 1; x < 99; ++x)
        if (s.Pixel(x, row * 19 + y) != s.Pixel(100 + x, row * 19 + y)) return false;
    return true;
  };
  EXPECT_GT(Ink(s, 1, 1, 98, 17), 20);
  EXPECT_FALSE(same(0));
  EXPECT_GT(Ink(s, 101, 20, 98, 17), Ink(s, 1, 20, 98, 17));  // bold has more ink
  EXPECT_FALSE(same(2));                                      // italic is slanted
  EXPECT_GT(Ink(s, 101, 58, 98, 17), Ink(s, 1, 58, 98, 17));  // 12.5 points are larger than 8
  EXPECT_GT(Ink(s, 1, 77, 98, 17), 20);
  EXPECT_FALSE(same(4));
}

TEST_F(TransparentTableTest, ColumnsOutsideOneToFiveShowNothingButRowsStillAdvance) {
  for (int16_t cols : {0, 6, -1}) {
    const Surface s = Draw(10, cols);
    EXPECT_EQ(endY_, 50 + 10 * 19);
    EXPECT_EQ(Ink(s, 0, 0, 640, 480), 0);
  }
  const Surface none = Draw(0, 2);
  EXPECT_EQ(endY_, 50);
  EXPECT_EQ(Ink(none, 0, 0, 640, 480), 0);
}

TEST_F(TransparentTableTest, AZeroWidthColumnIsInvisibleAndTheNextStartsAtTheSameX) {
  At(1, 2).text = std::string("hidden text");
  const Surface s = Draw(1, 3, {0, 80, 0, 50, 0, 0});
  EXPECT_EQ(s.Pixel(179, 60), kBlack);  // column 1 spans 100..179
  EXPECT_EQ(s.Pixel(180, 60), kBlack);  // column 3 spans 180..229
  EXPECT_EQ(s.Pixel(229, 60), kBlack);
  EXPECT_EQ(Ink(s, 181, 51, 48, 17), 0);  // column 2's text appears nowhere
  EXPECT_EQ(Ink(s, 0, 0, 640, 480), (2 * (80 + 19) - 4) + (2 * (50 + 19) - 4));
}

TEST_F(TransparentTableTest, AFullTableSpansThirtyFourRowsAndMayRunOffTheSurface) {
  for (int r = 1; r <= kMaxRows; ++r)
    for (int c = 1; c <= kMaxCols; ++c) {
      std::string& text = At(r, c).text;
      text = std::string("行");
      text += std::to_string(r);
      text += "列";
      text += std::to_string(c);
    }
  Surface s(640, 1000, kBack);
  EXPECT_EQ(DrawTransparentTable(s, JobTableFrom(table_, 34, 5, kWidths), {10, 20}), 20 + 646);
  EXPECT_EQ(s.Pixel(10, 20 + 645), kBlack);
  EXPECT_EQ(Ink(s, 0, 20 + 646, 640, 1000 - 666), 0);

  Surface small(200, 100, kBack);  // clipped by the surface's edges
  EXPECT_EQ(DrawTransparentTable(small, JobTableFrom(table_, 34, 5, kWidths), {150, 60}), 60 + 646);
  EXPECT_EQ(small.Pixel(150, 60), kBlack);
}

TEST(OneRenderer, TheWrittenBitmapHoldsExactlyTheComposedSurface) {
  test::TempFolder folder;
  const std::string picture = folder.File("p.bmp");
  ASSERT_TRUE(win::WriteBitmapFile(test::QuadrantPicture(300, 200), picture));
  TableModel table;
  table.At(1, 1).text = std::string("壁紙");
  table.At(2, 2).text = std::string("Quelm");
  WallpaperJob job;
  job.display = SingleMonitorLayout({1024, 768});
  job.background = {BackgroundKind::ImageFile, picture, Placement::Tiled, RGB(1, 2, 3)};
  job.table = JobTableFrom(table, 2, 2, kWidths);
  job.tableAt = {700, 600};
  job.transparent = true;
  const Surface surface = RenderWallpaper(job);
  ASSERT_TRUE(surface.ok());
  const std::string bitmap = folder.File("Quelm_Rask.bmp");
  ASSERT_TRUE(win::WriteBitmapFile(surface, bitmap));

  const auto loaded = win::LoadImageFile(bitmap);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(test::CountDifferences(loaded->pixels, surface), 0);
}

}  // namespace
}  // namespace qr
