// The transparent table drawn over the background.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <climits>

#include "core/table_model.h"
#include "core/text_effect.h"
#include "support/temp_folder.h"
#include "wallpaper/composer.h"
#include "wallpaper/render.h"
#include "wallpaper/write_files.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/fonts.h"
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

// ---- Text effects: the text stays readable over a picture of its own colour

class TextEffectTest : public ::testing::Test {
 protected:
  // One cell 180 pixels wide at (10, 10) holding a line of text in `text` over `background`.
  static Surface Draw(COLORREF text, COLORREF background, TextEffect effect) {
    TableModel table;
    table.At(1, 1) = Cell{"Quelm 壁紙 Wg", CellFont{"Arial", 12.0, true, false}, text, RGB(0, 0, 128)};
    Surface s(200, 40, background);
    DrawTransparentTable(s, JobTableFrom(table, 1, 1, {0, 180, 0, 0, 0, 0}), {10, 10}, 96, nullptr,
                         {effect, 50});
    return s;
  }
  // Inside the cell's frame.
  static constexpr int kLeft = 11, kTop = 11, kRight = 189, kBottom = 28;
};

TEST_F(TextEffectTest, WithoutAnEffectTextOfTheBackgroundsColourLeavesNoTrace) {
  for (const COLORREF colour : {RGB(255, 255, 255), RGB(0, 0, 0)}) {
    const Surface s = Draw(colour, colour, TextEffect::None);
    EXPECT_EQ(CountOther(s, kLeft, kTop, kRight - kLeft, kBottom - kTop, colour), 0);
    EXPECT_GT(CountOther(Draw(colour ^ 0xFFFFFF, colour, TextEffect::None), kLeft, kTop, kRight - kLeft,
                         kBottom - kTop, colour),
              100);  // the same text in the other colour shows
  }
}

// The glyphs' own pixels keep the text colour; around them (the outline) or down and right of them (the
// shadow) lie pixels that contrast with the text at 4.5 : 1 at least, as WCAG asks of body text.
TEST_F(TextEffectTest, OutlineAndShadowContrastWithTheTextAtLeastFourAndAHalfToOne) {
  struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    void Add(int x, int y) {
      left = std::min(left, x);
      top = std::min(top, y);
      right = std::max(right, x);
      bottom = std::max(bottom, y);
    }
  };
  for (const TextEffect effect : {TextEffect::Outline, TextEffect::Shadow})
    for (const COLORREF colour : {RGB(255, 255, 255), RGB(0, 0, 0)}) {
      SCOPED_TRACE(testing::Message() << "effect " << static_cast<int>(effect) << ", colour " << colour);
      const Surface glyphs = Draw(colour ^ 0xFFFFFF, colour, TextEffect::None);  // where the text lies
      const Surface s = Draw(colour, colour, effect);
      int solid = 0, halo = 0;
      Box ink, core, contrasting;  // all the text's pixels, its pixels in the full text colour, the halo's
      for (int y = kTop; y < kBottom; ++y)
        for (int x = kLeft; x < kRight; ++x) {
          if (glyphs.Pixel(x, y) != colour) ink.Add(x, y);
          if (glyphs.Pixel(x, y) == (colour ^ 0xFFFFFF)) {
            ++solid;
            core.Add(x, y);
            EXPECT_EQ(s.Pixel(x, y), colour) << x << "," << y;
          } else if (glyphs.Pixel(x, y) == colour &&
                     ContrastRatio(RgbOfColour(s.Pixel(x, y)), RgbOfColour(colour)) >= 4.5) {
            ++halo;
            contrasting.Add(x, y);
          }
        }
      ASSERT_GT(solid, 100);
      EXPECT_GE(halo, effect == TextEffect::Outline ? solid : solid / 3);
      // The outline reaches out on every side, the shadow only to the right and below.
      if (effect == TextEffect::Outline) {
        EXPECT_LT(contrasting.left, core.left);
        EXPECT_LT(contrasting.top, std::max(core.top, kTop + 1));
      } else {
        EXPECT_GE(contrasting.left, ink.left);
        EXPECT_GE(contrasting.top, ink.top);
      }
      EXPECT_GT(contrasting.right, ink.right);
      EXPECT_GT(contrasting.bottom, std::min(ink.bottom, kBottom - 2));
      EXPECT_EQ(CountOther(s, 0, 0, 200, kTop - 1, colour), 0);  // nothing beyond the cell
      EXPECT_EQ(CountOther(s, 0, kBottom + 1, 200, 40 - kBottom - 1, colour), 0);
    }
}

TEST_F(TextEffectTest, APanelMixesEachCellsBackColourIntoThePictureUnderTheTable) {
  const Surface picture = test::QuadrantPicture(300, 120);
  TableModel table;
  table.At(1, 1).backColor = RGB(0, 0, 128);
  table.At(2, 2).backColor = RGB(255, 255, 255);
  table.At(2, 1).backColor = 0x80000000u + COLOR_WINDOW;
  for (const int16_t percent : {25, 50, 75}) {
    SCOPED_TRACE(percent);
    Surface s(300, 120);
    BitBlt(s.dc(), 0, 0, 300, 120, picture.dc(), 0, 0, SRCCOPY);
    const JobTable cells = JobTableFrom(table, 2, 2, {0, 120, 80, 0, 0, 0});
    DrawTransparentTable(s, cells, {60, 40}, 96, nullptr, {TextEffect::Panel, percent});
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 300; ++x) {
        const bool underTable = x >= 60 && x < 260 && y >= 40 && y < 78;
        const bool inFrame = underTable && (x == 60 || x == 179 || x == 180 || x == 259 || y == 40 ||
                                            y == 58 || y == 59 || y == 77);
        const Rgb under = RgbOfColour(picture.Pixel(x, y)), got = RgbOfColour(s.Pixel(x, y));
        if (!underTable) {
          ASSERT_EQ(got, under) << x << "," << y;
        } else if (inFrame) {
          ASSERT_EQ(got, Rgb{}) << x << "," << y;
        } else {
          const Rgb panel =
              RgbOfColour(win::ResolveColour(cells.At(y < 59 ? 1 : 2, x < 180 ? 1 : 2)->backColor));
          auto expected = [&](uint8_t a, uint8_t b) { return (a * (100 - percent) + b * percent) / 100.0; };
          ASSERT_NEAR(got.r, expected(under.r, panel.r), 1.0) << x << "," << y;
          ASSERT_NEAR(got.g, expected(under.g, panel.g), 1.0) << x << "," << y;
          ASSERT_NEAR(got.b, expected(under.b, panel.b), 1.0) << x << "," << y;
        }
      }
  }
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

// The bitmap written band by band, never holding the screen whole, is byte for byte the one written
// from the whole composed surface: bands of 256 rows end at 255 and 511 here, which the tables cross, and
// the last table runs off the screen's corner.
TEST(OneRenderer, TheBandedBitmapIsTheWholeSurfacesByteForByte) {
  test::TempFolder folder;
  const std::string tile = folder.File("tile.bmp"), wide = folder.File("wide.bmp");
  ASSERT_TRUE(win::WriteBitmapFile(test::QuadrantPicture(301, 97), tile));
  ASSERT_TRUE(win::WriteBitmapFile(test::QuadrantPicture(1400, 300), wide));
  TableModel table;
  table.At(1, 1).text = std::string("壁紙");
  table.At(2, 2).text = std::string("Quelm");
  table.At(3, 1).text = std::string("予定 Wg");
  struct Background {
    BackgroundKind kind;
    const std::string& file;
    Placement placement;
  };
  const Background backgrounds[] = {{BackgroundKind::DesktopColour, tile, Placement::Centred},
                                    {BackgroundKind::ImageFile, wide, Placement::Centred},
                                    {BackgroundKind::ImageFile, tile, Placement::Tiled},
                                    {BackgroundKind::ImageFile, wide, Placement::FullScreen}};
  struct Table {
    bool transparent;
    TextEffect effect;
    int32_t dpi;
    Point at;
  };
  const Table tables[] = {
      {true, TextEffect::None, 96, {40, 230}},    {true, TextEffect::Outline, 144, {500, 240}},
      {true, TextEffect::Shadow, 96, {200, 480}}, {true, TextEffect::Panel, 96, {300, 500}},
      {false, TextEffect::None, 120, {600, 250}}, {true, TextEffect::Shadow, 96, {900, 740}}};
  for (const Background& background : backgrounds)
    for (const Table& t : tables) {
      WallpaperJob job;
      job.display = SingleMonitorLayout({1023, 767});
      job.background = {background.kind, background.file, background.placement, RGB(1, 2, 3)};
      job.table = JobTableFrom(table, 3, 2, kWidths);
      job.tableAt = t.at;
      job.transparent = t.transparent;
      job.textEffect = t.effect;
      job.dpi = t.dpi;
      const std::string whole = folder.File("whole.bmp"), banded = folder.File("banded.bmp");
      ASSERT_TRUE(win::WriteBitmapFile(RenderWallpaper(job), whole));
      ASSERT_TRUE(WriteWallpaperBitmap(job, banded));
      const auto expected = win::ReadFileBytes(whole);
      ASSERT_TRUE(expected);
      EXPECT_TRUE(win::ReadFileBytes(banded) == expected)
          << static_cast<int>(background.placement) << " " << t.at.x << "," << t.at.y;
    }
}

}  // namespace
}  // namespace qr
