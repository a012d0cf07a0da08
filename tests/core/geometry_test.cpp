#include "core/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace qr {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

std::array<int16_t, 6> Widths(int16_t w1, int16_t w2, int16_t w3, int16_t w4, int16_t w5) {
  return {0, w1, w2, w3, w4, w5};
}

// The tiling loop exactly as the painters describe it, as a reference for the closed form.
std::vector<Point> ReferenceTiling(int32_t areaW, int32_t areaH, int32_t tileW, int32_t tileH) {
  std::vector<Point> origins;
  int32_t x = 0, y = 0;
  for (;;) {
    origins.push_back({x, y});
    if (y > areaH) {
      if (x > areaW) break;
      x += tileW;
      y = 0;
    } else {
      y += tileH;
    }
  }
  return origins;
}

std::vector<Point> Grid(const std::vector<int32_t>& xs, const std::vector<int32_t>& ys) {
  std::vector<Point> points;
  for (int32_t x : xs)
    for (int32_t y : ys) points.push_back({x, y});
  return points;
}

// ---- Rounding and conversions

TEST(GeometryRounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundToInt32(0.5), 0);
  EXPECT_EQ(RoundToInt32(1.5), 2);
  EXPECT_EQ(RoundToInt32(2.5), 2);
  EXPECT_EQ(RoundToInt32(-0.5), 0);
  EXPECT_EQ(RoundToInt32(-1.5), -2);
  EXPECT_EQ(RoundToInt32(-2.5), -2);
  EXPECT_EQ(RoundToInt32(2.4999), 2);
  EXPECT_EQ(RoundToInt32(2.5001), 3);
}

TEST(GeometryRounding, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(RoundToInt32(1e12), kMax);
  EXPECT_EQ(RoundToInt32(-1e12), kMin);
  EXPECT_EQ(RoundToInt32(kInf), kMax);
  EXPECT_EQ(RoundToInt32(-kInf), kMin);
  EXPECT_EQ(RoundToInt32(kNaN), 0);
}

// Bands that only touch share no row; nothing overlaps an empty rectangle; far corners do not overflow.
TEST(GeometryOverlap, SharedPixelsOnly) {
  const Rect band{0, 91, 3840, 91};
  EXPECT_TRUE(Overlaps(band, {100, 181, 10, 5}));
  EXPECT_FALSE(Overlaps(band, {100, 182, 10, 5}));
  EXPECT_FALSE(Overlaps(band, {100, 86, 10, 5}));
  EXPECT_FALSE(Overlaps(band, {100, 100, 0, 5}));
  EXPECT_TRUE(Overlaps({INT32_MAX - 1, 0, 1, 1}, {0, 0, INT32_MAX, 1}));
  EXPECT_FALSE(Overlaps({INT32_MIN, 0, INT32_MAX, 1}, {-1, 0, 5, 1}));
}

TEST(GeometryTwips, ConvertsWithTheScreensFactorRoundingHalvesToEven) {
  EXPECT_EQ(TwipsToPixels(15360, 15), 1024);
  EXPECT_EQ(TwipsToPixels(11520, 15), 768);
  EXPECT_EQ(TwipsToPixels(15360, 12), 1280);
  EXPECT_EQ(TwipsToPixels(337.5, 15), 22);  // 22.5
  EXPECT_EQ(TwipsToPixels(352.5, 15), 24);  // 23.5
  EXPECT_EQ(TwipsToPixels(-337.5, 15), -22);
}

TEST(GeometryTwips, UnusableFactorFallsBackToFifteen) {
  EXPECT_EQ(TwipsToPixels(1500, 0), 100);
  EXPECT_EQ(TwipsToPixels(1500, -12), 100);
  EXPECT_EQ(TwipsToPixels(1500, kNaN), 100);
  EXPECT_EQ(TwipsToPixels(1500, kInf), 100);
}

TEST(GeometryCentring, EditorWindowStartIsUnroundedHalfOfTheSpareRoom) {
  EXPECT_DOUBLE_EQ(CentredStart(15360, 4845), 5257.5);
  EXPECT_DOUBLE_EQ(CentredStart(11520, 4515), 3502.5);
  EXPECT_DOUBLE_EQ(CentredStart(4000, 5000), -500);
}

TEST(GeometryCentring, DialogOverItsOwnerRoundsHalvesToEven) {
  // 100 + 150.5 - 100 = 150.5 -> 150; 50 + 100.5 - 50 = 100.5 -> 100.
  EXPECT_EQ(CentreOver({100, 50, 301, 201}, {200, 100}), (Point{150, 100}));
  // 101 + 150.5 - 100 = 151.5 -> 152.
  EXPECT_EQ(CentreOver({101, 51, 301, 201}, {200, 100}), (Point{152, 102}));
  // Near the screen edge no clamping: the dialog may start off screen.
  EXPECT_EQ(CentreOver({-300, -10, 200, 100}, {400, 300}), (Point{-400, -110}));
}

TEST(GeometryCentring, DialogOnTheScreen) {
  EXPECT_EQ(CentreOnScreen(1024, 768, {300, 200}), (Point{362, 284}));
  EXPECT_EQ(CentreOnScreen(1024, 768, {301, 201}), (Point{362, 284}));  // 361.5, 283.5
  EXPECT_EQ(CentreOnScreen(1024, 768, {303, 203}), (Point{360, 282}));  // 360.5, 282.5
}

// ---- Picture placement

TEST(GeometryPlaceCentred, SmallerPictureIsFramedLargerIsCutEqually) {
  EXPECT_EQ(PlaceCentred(1024, 768, 800, 600), (Rect{112, 84, 800, 600}));
  EXPECT_EQ(PlaceCentred(1024, 768, 1600, 1200), (Rect{-288, -216, 1600, 1200}));
  EXPECT_EQ(PlaceCentred(1024, 768, 1024, 768), (Rect{0, 0, 1024, 768}));
  EXPECT_EQ(PlaceCentred(1280, 720, 300, 200), (Rect{490, 260, 300, 200}));
}

TEST(GeometryPlaceCentred, OddSpareRoomRoundsHalvesToEven) {
  EXPECT_EQ(PlaceCentred(1025, 769, 800, 600), (Rect{112, 84, 800, 600}));         // 112.5, 84.5
  EXPECT_EQ(PlaceCentred(1027, 771, 800, 600), (Rect{114, 86, 800, 600}));         // 113.5, 85.5
  EXPECT_EQ(PlaceCentred(1024, 768, 1601, 1201), (Rect{-288, -216, 1601, 1201}));  // -288.5, -216.5
}

TEST(GeometryPlaceCentred, PreviewUsesTheUnroundedScreenSize) {
  EXPECT_EQ(PlaceCentred(1023.5, 767.5, 800, 600), (Rect{112, 84, 800, 600}));  // 111.75, 83.75
  // 1025.1 would be 1025 on the canvas (x 112.5 -> 112); unrounded it gives 112.55 -> 113.
  EXPECT_EQ(PlaceCentred(1025.1, 768, 800, 600).x, 113);
  EXPECT_EQ(PlaceCentred(1025, 768, 800, 600).x, 112);
}

TEST(GeometryPlaceCentred, PictureWithoutAreaIsNotPlaced) {
  EXPECT_EQ(PlaceCentred(1024, 768, 0, 600), Rect{});
  EXPECT_EQ(PlaceCentred(1024, 768, 800, 0), Rect{});
  EXPECT_EQ(PlaceCentred(1024, 768, -800, 600), Rect{});
  EXPECT_EQ(PlaceCentred(1024, 768, kNaN, 600), Rect{});
}

TEST(GeometryJpegScale, SmallestEighthsStillCoveringThePlace) {
  // The benchmark's photograph at full screen: 1920 x 1280 needs 3/8 (2250 x 1500; 2/8 is 1500 wide),
  // 3840 x 2560 needs 6/8 (4500 x 3000; 5/8 is 3750 wide).
  EXPECT_EQ(JpegScaleEighths({6000, 4000}, {1920, 1280}), 3);
  EXPECT_EQ(JpegScaleEighths({6000, 4000}, {3840, 2560}), 6);
  // The height can decide: a portrait picture on a landscape screen.
  EXPECT_EQ(JpegScaleEighths({3000, 4000}, {810, 1080}), 3);
  // Exactly n eighths, and one pixel more; sizes round up (ceil(1001 / 8) = 126).
  EXPECT_EQ(JpegScaleEighths({1600, 1200}, {400, 300}), 2);
  EXPECT_EQ(JpegScaleEighths({1600, 1200}, {401, 300}), 3);
  EXPECT_EQ(JpegScaleEighths({1001, 1001}, {126, 126}), 1);
  EXPECT_EQ(JpegScaleEighths({1001, 1001}, {127, 10}), 2);
  // Never smaller than the place: no reduction that would then have to be enlarged again.
  EXPECT_EQ(JpegScaleEighths({1600, 1200}, {1500, 1}), 8);
  EXPECT_EQ(JpegScaleEighths({800, 600}, {1920, 1080}), 8);
  EXPECT_EQ(JpegScaleEighths({kMax, kMax}, {1, 1}), 1);
  // Nothing to scale for.
  EXPECT_EQ(JpegScaleEighths({0, 600}, {100, 100}), 8);
  EXPECT_EQ(JpegScaleEighths({800, 600}, {0, 100}), 8);
  EXPECT_EQ(JpegScaleEighths({800, 600}, {-5, -5}), 8);
}

TEST(GeometryNearestSourcePixel, EachTargetPixelShowsTheSourcePixelUnderItsCentre) {
  // Halving takes every second pixel from the second on; doubling repeats each pixel twice.
  EXPECT_EQ(NearestSourcePixel(0, 4, 8), 1);
  EXPECT_EQ(NearestSourcePixel(3, 4, 8), 7);
  for (int32_t t = 0; t < 8; ++t) EXPECT_EQ(NearestSourcePixel(t, 8, 4), t / 2);
  // 2250 picture rows onto 1920: in range, never backwards, no source pixel skipped twice in a row.
  int32_t last = -1;
  for (int32_t t = 0; t < 1920; ++t) {
    const int32_t s = NearestSourcePixel(t, 1920, 2250);
    ASSERT_GE(s, last);
    ASSERT_LE(s - last, 2);
    last = s;
  }
  EXPECT_EQ(last, 2249);
  // The same size maps each pixel to itself; outside the target, or without pixels, it stays in range.
  EXPECT_EQ(NearestSourcePixel(1234, 3000, 3000), 1234);
  EXPECT_EQ(NearestSourcePixel(5000, 10, 10), 9);
  EXPECT_EQ(NearestSourcePixel(-3, 10, 10), 0);
  EXPECT_EQ(NearestSourcePixel(0, 0, 10), 0);
  EXPECT_EQ(NearestSourcePixel(kMax - 1, kMax, kMax), kMax - 1);
}

TEST(GeometryPlaceFullScreen, PictureOrientationDecidesTheScale) {
  EXPECT_EQ(PlaceFullScreen(1024, 768, 800, 600), (Rect{0, 0, 1024, 768}));
  EXPECT_EQ(PlaceFullScreen(1280, 720, 800, 600), (Rect{0, -120, 1280, 960}));  // cut at top and bottom
  EXPECT_EQ(PlaceFullScreen(1024, 768, 600, 800), (Rect{224, 0, 576, 768}));
  EXPECT_EQ(PlaceFullScreen(1024, 768, 500, 500), (Rect{128, 0, 768, 768}));  // square: screen height
  // On a portrait screen a square still takes the height and overflows the width; a landscape picture
  // takes the width.
  EXPECT_EQ(PlaceFullScreen(768, 1024, 500, 500), (Rect{-128, 0, 1024, 1024}));
  EXPECT_EQ(PlaceFullScreen(768, 1024, 800, 600), (Rect{0, 224, 768, 576}));
  EXPECT_EQ(PlaceFullScreen(1024, 768, 1600, 1200), (Rect{0, 0, 1024, 768}));
}

TEST(GeometryPlaceFullScreen, PositionComesFromTheUnroundedScaledSize) {
  // dh = 1024 * 999 / 1000 = 1022.976 -> 1023; y = (768 - 1022.976) / 2 = -127.488 -> -127
  // (from the rounded 1023 it would be -127.5 -> -128).
  EXPECT_EQ(PlaceFullScreen(1024, 768, 1000, 999), (Rect{0, -127, 1024, 1023}));
}

TEST(GeometryPlaceFullScreen, ScaledSizesRoundHalvesToEven) {
  EXPECT_EQ(PlaceFullScreen(1026, 768, 800, 600), (Rect{0, -1, 1026, 770}));  // dh 769.5, y -0.75
  EXPECT_EQ(PlaceFullScreen(1030, 768, 800, 600), (Rect{0, -2, 1030, 772}));  // dh 772.5, y -2.25
}

TEST(GeometryPlaceFullScreen, PreviewUsesTheUnroundedScreenSize) {
  // dw = 767.5 * 600 / 800 = 575.625 -> 576; dh 767.5 -> 768; x = 223.9375 -> 224.
  EXPECT_EQ(PlaceFullScreen(1023.5, 767.5, 600, 800), (Rect{224, 0, 576, 768}));
  // dw 1023.5 -> 1024; dh = 767.625 -> 768; y = -0.0625 -> 0.
  EXPECT_EQ(PlaceFullScreen(1023.5, 767.5, 800, 600), (Rect{0, 0, 1024, 768}));
}

TEST(GeometryPlaceFullScreen, NothingWithoutAreaAndNoDivisionByZero) {
  EXPECT_EQ(PlaceFullScreen(1024, 768, 0, 600), Rect{});
  EXPECT_EQ(PlaceFullScreen(1024, 768, 600, 0), Rect{});
  EXPECT_EQ(PlaceFullScreen(1024, 768, 0, 0), Rect{});
  EXPECT_EQ(PlaceFullScreen(1024, 768, -600, 800), Rect{});
  EXPECT_EQ(PlaceFullScreen(1024, 768, kNaN, 800), Rect{});
  EXPECT_EQ(PlaceFullScreen(0, 768, 800, 600), Rect{});
  EXPECT_EQ(PlaceFullScreen(1024, -1, 800, 600), Rect{});
}

// ---- Tiling

TEST(GeometryTiling, PictureOnScreenGoesColumnByColumnOneTileBeyondEachEdge) {
  const std::vector<Point> expected = Grid({0, 300, 600, 900, 1200}, {0, 200, 400, 600, 800});
  EXPECT_EQ(TileOrigins(1024, 768, 300, 200), expected);
  EXPECT_EQ(TileOriginCount(1024, 768, 300, 200), 25);
  EXPECT_EQ(ReferenceTiling(1024, 768, 300, 200), expected);
}

TEST(GeometryTiling, EdgeExactlyReachedStillGetsAnotherTile) {
  // 600 is not greater than 600, so a tile starts there and one more beyond it.
  EXPECT_EQ(TileOrigins(600, 400, 300, 200), Grid({0, 300, 600, 900}, {0, 200, 400, 600}));
  // An empty area still gets the tile at the corner and the ones the strict tests let through.
  EXPECT_EQ(TileOrigins(0, 0, 10, 10), Grid({0, 10}, {0, 10}));
  EXPECT_EQ(TileOrigins(-5, -5, 10, 10), Grid({0}, {0}));
}

TEST(GeometryTiling, TextureTileOverABox) {
  // The 541 x 22 texture over a 560 x 300 box: columns 0, 541, 1082; rows 0 ... 308.
  std::vector<int32_t> ys;
  for (int32_t y = 0; y <= 308; y += 22) ys.push_back(y);
  EXPECT_EQ(TileOrigins(560, 300, 541, 22), Grid({0, 541, 1082}, ys));
}

TEST(GeometryTiling, AgreesWithTheLoopForManyShapes) {
  const int32_t areas[] = {-5, -1, 0, 1, 7, 20, 21, 29};
  for (int32_t areaW : areas) {
    for (int32_t areaH : areas) {
      for (int32_t tileW = 1; tileW <= 10; ++tileW) {
        for (int32_t tileH = 1; tileH <= 10; ++tileH) {
          const std::vector<Point> expected = ReferenceTiling(areaW, areaH, tileW, tileH);
          std::vector<Point> visited;
          ForEachTileOrigin(areaW, areaH, tileW, tileH, [&](Point p) { visited.push_back(p); });
          ASSERT_EQ(TileOrigins(areaW, areaH, tileW, tileH), expected)
              << areaW << "x" << areaH << " tile " << tileW << "x" << tileH;
          ASSERT_EQ(visited, expected);
          ASSERT_EQ(TileOriginCount(areaW, areaH, tileW, tileH), static_cast<int64_t>(expected.size()));
        }
      }
    }
  }
}

TEST(GeometryTiling, TileWithoutAreaGivesNoOriginsAndNeverLoops) {
  const std::pair<int32_t, int32_t> tiles[] = {{0, 200}, {300, 0}, {0, 0}, {-300, 200}, {300, -1}};
  for (auto [w, h] : tiles) {
    int visits = 0;
    ForEachTileOrigin(1024, 768, w, h, [&](Point) { ++visits; });
    EXPECT_EQ(visits, 0);
    EXPECT_TRUE(TileOrigins(1024, 768, w, h).empty());
    EXPECT_EQ(TileOriginCount(1024, 768, w, h), 0);
  }
}

TEST(GeometryTiling, HugeCountsAreKnownWithoutAllocatingAndVectorsAreCapped) {
  EXPECT_EQ(TileOriginCount(3840, 2160, 1, 1), int64_t{3842} * 2162);
  EXPECT_EQ(TileOriginCount(kMax, kMax, 1, 1), int64_t{kMax} * kMax + 2 * int64_t{kMax} + 1);
  const std::vector<Point> firstSeven = TileOrigins(1024, 768, 300, 200, 7);
  const std::vector<Point> all = TileOrigins(1024, 768, 300, 200);
  EXPECT_EQ(firstSeven, std::vector<Point>(all.begin(), all.begin() + 7));
  EXPECT_TRUE(TileOrigins(1024, 768, 300, 200, 0).empty());
  EXPECT_EQ(TileOrigins(1024, 768, 300, 200, SIZE_MAX), all);  // no limit
}

TEST(GeometryScaling, DesignToDpiRoundsAwayFromZeroAndSaturatesInsteadOfOverflowing) {
  EXPECT_EQ(DesignToDpi(9, 120), 11);   // 11.25
  EXPECT_EQ(DesignToDpi(2, 144), 3);    // 3.0
  EXPECT_EQ(DesignToDpi(-3, 144), -5);  // -4.5
  EXPECT_EQ(DesignToDpi(int64_t{1} << 40, 192), int64_t{1} << 41);
  constexpr int64_t kBig = std::numeric_limits<int64_t>::max();
  EXPECT_EQ(DesignToDpi(kBig, 144), kBig);
  EXPECT_EQ(DesignToDpi(-kBig - 1, 144), -kBig - 1);
  EXPECT_EQ(DesignToDpi(kBig / 2, 96 * 2), kBig - 1);  // just inside
  EXPECT_EQ(DesignToDpi(kBig, 24), kBig / 4 + 1);      // scaling down stays exact: ...951.75
}

TEST(GeometryTiling, OriginsBeyondTheInt32RangeAreLeftOut) {
  constexpr int32_t kTile = 1 << 30;
  EXPECT_EQ(TileOrigins(kMax, kMax, kTile, kTile), Grid({0, kTile}, {0, kTile}));
  EXPECT_EQ(TileOriginCount(kMax, kMax, kTile, kTile), 4);
  EXPECT_EQ(TileOrigins(kMax, 0, kMax, 1), Grid({0, kMax}, {0, 1}));
}

// ---- The editor's grid

TEST(GeometryGrid, DefaultTableOfTenRowsAndTwoColumns) {
  const GridLayout layout = LayoutGrid(10, 2, Widths(80, 80, 80, 80, 80));
  ASSERT_EQ(layout.cells.size(), 20u);
  EXPECT_EQ(layout.cells[0], (CellPlacement{1, 1, {8, 8, 80, 19}}));
  EXPECT_EQ(layout.cells[1], (CellPlacement{1, 2, {88, 8, 80, 19}}));
  EXPECT_EQ(layout.cells[2], (CellPlacement{2, 1, {8, 27, 80, 19}}));
  EXPECT_EQ(layout.cells[19], (CellPlacement{10, 2, {88, 179, 80, 19}}));
  EXPECT_EQ(layout.gridBox, (Size{180, 209}));
  EXPECT_EQ(layout.windowTwips, (Size{4845, 4515}));  // 2940 computed, below the minimum
  EXPECT_EQ(layout.sliderLeft, (std::array<int32_t, 6>{0, 16, 96, 0, 0, 0}));
  EXPECT_EQ(layout.button0Face, (Point{4, 265}));
  EXPECT_EQ(layout.button0Label, (Point{4, 269}));
  EXPECT_EQ(layout.button1Face, (Point{94, 265}));
  EXPECT_EQ(layout.button1Label, (Point{94, 269}));
}

TEST(GeometryGrid, CellsGoRowByRowAndTouch) {
  const GridLayout layout = LayoutGrid(3, 3, Widths(50, 60, 70, 80, 80));
  std::vector<CellPlacement> expected;
  for (int r = 1; r <= 3; ++r) {
    const int32_t top = 8 + 19 * (r - 1);
    expected.push_back({r, 1, {8, top, 50, 19}});
    expected.push_back({r, 2, {58, top, 60, 19}});
    expected.push_back({r, 3, {118, top, 70, 19}});
  }
  EXPECT_EQ(layout.cells, expected);
}

TEST(GeometryGrid, SmallestTable) {
  const GridLayout layout = LayoutGrid(1, 1, Widths(80, 80, 80, 80, 80));
  EXPECT_EQ(layout.cells, (std::vector<CellPlacement>{{1, 1, {8, 8, 80, 19}}}));
  EXPECT_EQ(layout.gridBox, (Size{100, 38}));
  EXPECT_EQ(layout.windowTwips, (Size{4845, 1950}));
  EXPECT_EQ(layout.button0Face, (Point{4, 94}));
  EXPECT_EQ(layout.button1Label, (Point{94, 98}));
}

TEST(GeometryGrid, LargestTableWithWidestColumns) {
  const GridLayout layout = LayoutGrid(34, 5, Widths(400, 400, 400, 400, 400));
  ASSERT_EQ(layout.cells.size(), 170u);
  EXPECT_EQ(layout.cells.back(), (CellPlacement{34, 5, {1608, 635, 400, 19}}));
  EXPECT_EQ(layout.gridBox, (Size{2020, 665}));
  EXPECT_EQ(layout.windowTwips, (Size{30540, 11355}));  // above the minimum width
  EXPECT_EQ(layout.sliderLeft, (std::array<int32_t, 6>{0, 16, 416, 816, 1216, 1616}));
  EXPECT_EQ(layout.button0Face, (Point{4, 721}));
}

TEST(GeometryGrid, ButtonsBesideTheGridLeaveGridAndHeightAndWidenOnlyWhenTheyMust) {
  const GridLayout below = LayoutGrid(34, 2, Widths(80, 80, 80, 80, 80));
  GridLayout beside = below;
  PlaceButtonsBesideGrid(beside);
  EXPECT_EQ(beside.cells, below.cells);
  EXPECT_EQ(beside.gridBox, below.gridBox);
  EXPECT_EQ(beside.windowTwips.h, below.windowTwips.h);
  EXPECT_EQ(beside.button0Face, (Point{4 + 180 + 8, 52}));
  EXPECT_EQ(beside.button0Label, (Point{192, 56}));
  EXPECT_EQ(beside.button1Face, (Point{192, 78}));
  EXPECT_EQ(beside.windowTwips.w, below.windowTwips.w) << "192 + 88 + 8 pixels fit the narrowest window";
  GridLayout wide = LayoutGrid(34, 5, Widths(400, 400, 400, 400, 400));
  PlaceButtonsBesideGrid(wide);
  EXPECT_EQ(wide.windowTwips.w, (4 + 2020 + 8 + 88 + 8) * 15);
}

TEST(GeometryGrid, ZeroWidthColumnsShareTheirLeftEdge) {
  const GridLayout zero = LayoutGrid(2, 5, Widths(0, 0, 0, 0, 0));
  for (const CellPlacement& cell : zero.cells) EXPECT_EQ(cell.rect.x, 8);
  EXPECT_EQ(zero.gridBox.w, 20);
  EXPECT_EQ(zero.sliderLeft, (std::array<int32_t, 6>{0, 16, 16, 16, 16, 16}));
  EXPECT_EQ(zero.windowTwips.w, 4845);

  const GridLayout mixed = LayoutGrid(1, 5, Widths(80, 120, 0, 50, 400));
  std::vector<int32_t> lefts;
  for (const CellPlacement& cell : mixed.cells) lefts.push_back(cell.rect.x);
  EXPECT_EQ(lefts, (std::vector<int32_t>{8, 88, 208, 208, 258}));
  EXPECT_EQ(mixed.cells[2].rect.w, 0);
  EXPECT_EQ(mixed.sliderLeft, (std::array<int32_t, 6>{0, 16, 96, 216, 216, 266}));
  EXPECT_EQ(mixed.gridBox.w, 670);
  EXPECT_EQ(mixed.windowTwips.w, 10290);
}

TEST(GeometryGrid, MovedFirstRowShiftsRowsGridBoxAndButtons) {
  const GridLayout layout = LayoutGrid(10, 2, Widths(80, 80, 80, 80, 80), 12);
  EXPECT_EQ(layout.cells[0].rect.y, 12);
  EXPECT_EQ(layout.cells.back().rect.y, 183);
  EXPECT_EQ(layout.gridBox, (Size{180, 213}));
  EXPECT_EQ(layout.windowTwips.h, (213 + 52 + 40) * 15);
  EXPECT_EQ(layout.button0Face, (Point{4, 269}));
}

TEST(GeometryGrid, ColumnsOutsideOneToFivePlaceNoCells) {
  const GridLayout none = LayoutGrid(10, 0, Widths(80, 80, 80, 80, 80));
  EXPECT_TRUE(none.cells.empty());
  EXPECT_EQ(none.gridBox, (Size{20, 209}));
  EXPECT_EQ(none.sliderLeft, (std::array<int32_t, 6>{}));

  const GridLayout six = LayoutGrid(10, 6, Widths(80, 80, 80, 80, 80));
  EXPECT_TRUE(six.cells.empty());
  EXPECT_EQ(six.gridBox, (Size{420, 209}));
  EXPECT_EQ(six.sliderLeft, (std::array<int32_t, 6>{0, 16, 96, 176, 256, 336}));
}

TEST(GeometryGrid, RowsOutsideTheGridAreKeptToIt) {
  const GridLayout many = LayoutGrid(40, 2, Widths(80, 80, 80, 80, 80));
  EXPECT_EQ(many.cells.size(), 68u);
  EXPECT_EQ(many.gridBox, LayoutGrid(34, 2, Widths(80, 80, 80, 80, 80)).gridBox);

  for (int16_t rows : {int16_t{0}, int16_t{-3}, int16_t{-32768}}) {
    const GridLayout few = LayoutGrid(rows, 2, Widths(80, 80, 80, 80, 80));
    EXPECT_TRUE(few.cells.empty());
    EXPECT_EQ(few.gridBox, (Size{180, 38}));
  }
}

TEST(GeometryGrid, NegativeWidthsCountAsZero) {
  const GridLayout layout = LayoutGrid(1, 3, Widths(-50, 80, -32768, 80, 80));
  EXPECT_EQ(layout.cells, (std::vector<CellPlacement>{
                              {1, 1, {8, 8, 0, 19}}, {1, 2, {8, 8, 80, 19}}, {1, 3, {88, 8, 0, 19}}}));
  EXPECT_EQ(layout.gridBox.w, 100);
}

TEST(GeometryGrid, ExtremeFirstRowTopSaturates) {
  const GridLayout layout = LayoutGrid(34, 1, Widths(80, 80, 80, 80, 80), kMax - 100);
  EXPECT_EQ(layout.cells.back().rect.y, kMax);
  EXPECT_EQ(layout.gridBox.h, kMax);
  EXPECT_EQ(layout.windowTwips.h, kMax);
  EXPECT_EQ(layout.button1Label.y, kMax);
}

// ---- The canvas's table

TEST(GeometryCanvasTable, TwoColumnsOfEightyAndOneHundredTwenty) {
  const CanvasTableLayout layout = LayoutCanvasTable(100, 50, 2, 2, Widths(80, 120, 80, 80, 80));
  EXPECT_EQ(layout.cells, (std::vector<CellPlacement>{{1, 1, {100, 50, 80, 19}},
                                                      {1, 2, {180, 50, 120, 19}},
                                                      {2, 1, {100, 69, 80, 19}},
                                                      {2, 2, {180, 69, 120, 19}}}));
  EXPECT_EQ(layout.endTableY, 88);
}

TEST(GeometryCanvasTable, FifthColumnStartsAfterTheFourBeforeIt) {
  const CanvasTableLayout layout = LayoutCanvasTable(-40, 7, 1, 5, Widths(80, 80, 80, 80, 80));
  ASSERT_EQ(layout.cells.size(), 5u);
  EXPECT_EQ(layout.cells[4], (CellPlacement{1, 5, {280, 7, 80, 19}}));
}

TEST(GeometryCanvasTable, ThirtyFourRowsMakeATable646PixelsTall) {
  const CanvasTableLayout layout = LayoutCanvasTable(10, 20, 34, 2, Widths(80, 80, 80, 80, 80));
  ASSERT_EQ(layout.cells.size(), 68u);
  EXPECT_EQ(layout.cells.back(), (CellPlacement{34, 2, {90, 20 + 33 * 19, 80, 19}}));
  EXPECT_EQ(layout.endTableY, 20 + 646);
}

TEST(GeometryCanvasTable, NoRowsLeavesTableYUnchanged) {
  for (int16_t rows : {int16_t{0}, int16_t{-1}, int16_t{-32768}}) {
    const CanvasTableLayout layout = LayoutCanvasTable(10, 20, rows, 2, Widths(80, 80, 80, 80, 80));
    EXPECT_TRUE(layout.cells.empty());
    EXPECT_EQ(layout.endTableY, 20);
  }
}

TEST(GeometryCanvasTable, ColumnsOutsideOneToFiveOnlyAdvanceTableY) {
  for (int16_t cols : {int16_t{0}, int16_t{6}, int16_t{-1}}) {
    const CanvasTableLayout layout = LayoutCanvasTable(10, 20, 3, cols, Widths(80, 80, 80, 80, 80));
    EXPECT_TRUE(layout.cells.empty());
    EXPECT_EQ(layout.endTableY, 77);
  }
}

TEST(GeometryCanvasTable, ZeroWidthColumnIsPlacedWithoutWidth) {
  const CanvasTableLayout layout = LayoutCanvasTable(0, 0, 1, 3, Widths(80, 0, 120, 80, 80));
  EXPECT_EQ(layout.cells, (std::vector<CellPlacement>{
                              {1, 1, {0, 0, 80, 19}}, {1, 2, {80, 0, 0, 19}}, {1, 3, {80, 0, 120, 19}}}));
}

TEST(GeometryCanvasTable, RowsBeyondTheTableAreNotLaidOut) {
  const CanvasTableLayout layout = LayoutCanvasTable(0, 0, 40, 1, Widths(80, 80, 80, 80, 80));
  EXPECT_EQ(layout.cells.size(), 34u);
  EXPECT_EQ(layout.endTableY, 646);
}

TEST(GeometryCanvasTable, PositionsSaturateInsteadOfOverflowing) {
  const CanvasTableLayout right = LayoutCanvasTable(kMax - 100, 0, 1, 3, Widths(400, 400, 400, 80, 80));
  EXPECT_EQ(right.cells[0].rect.x, kMax - 100);
  EXPECT_EQ(right.cells[1].rect.x, kMax);
  EXPECT_EQ(right.cells[2].rect.x, kMax);

  const CanvasTableLayout low = LayoutCanvasTable(0, kMax - 40, 34, 1, Widths(80, 80, 80, 80, 80));
  EXPECT_EQ(low.cells[1].rect.y, kMax - 21);
  EXPECT_EQ(low.cells.back().rect.y, kMax);
  EXPECT_EQ(low.endTableY, kMax);
}

// ---- The table rectangle

TableRectInput EditorAt(double leftTwips, double topTwips, double twipsPerPixel = 15) {
  TableRectInput input;
  input.windowLeftTwips = leftTwips;
  input.windowTopTwips = topTwips;
  input.twipsPerPixelX = twipsPerPixel;
  input.twipsPerPixelY = twipsPerPixel;
  input.picBackLeft = 4;
  input.picBackTop = 52;
  input.picBackWidth = 180;
  input.picBackHeight = 209;
  return input;
}

TEST(GeometryTableRectangle, StartsTwelvePixelsInsideTheGridBoxOnTheScreen) {
  // 1500 / 15 + 4 + 12 = 116; 3000 / 15 + 52 + 12 = 264; 180 - 18, 209 - 16.
  EXPECT_EQ(TableRectangle(EditorAt(1500, 3000)), (Rect{116, 264, 162, 193}));
  EXPECT_EQ(TableRectangle(EditorAt(1500, 3000, 12)), (Rect{141, 314, 162, 193}));
  EXPECT_EQ(TableRectangle(EditorAt(-1500, -300)), (Rect{-84, 44, 162, 193}));
}

TEST(GeometryTableRectangle, HalvesRoundToEven) {
  EXPECT_EQ(TableRectangle(EditorAt(97.5, 112.5)).x, 22);  // 6.5 + 16 = 22.5
  EXPECT_EQ(TableRectangle(EditorAt(97.5, 112.5)).y, 72);  // 7.5 + 64 = 71.5
  EXPECT_EQ(TableRectangle(EditorAt(30, 42, 12)).x, 18);   // 2.5 + 16 = 18.5
  EXPECT_EQ(TableRectangle(EditorAt(30, 42, 12)).y, 68);   // 3.5 + 64 = 67.5
}

TEST(GeometryTableRectangle, ArithmeticIsSinglePrecision) {
  TableRectInput input = EditorAt(16777217, 0, 1);  // 2^24 + 1 has no single-precision form: 2^24
  input.picBackLeft = 0;
  EXPECT_EQ(TableRectangle(input).x, 16777228);
}

TEST(GeometryTableRectangle, SizeIsNeverNegativeAndFactorNeverZero) {
  TableRectInput input = EditorAt(1500, 3000, 0);
  input.picBackWidth = 10;
  input.picBackHeight = kMin;
  EXPECT_EQ(TableRectangle(input), (Rect{116, 264, 0, 0}));
  input.twipsPerPixelX = 1e-300;
  input.twipsPerPixelY = kNaN;
  EXPECT_EQ(TableRectangle(input).x, 116);
  EXPECT_EQ(TableRectangle(input).y, 264);
  input.windowLeftTwips = 1e300;
  input.windowTopTwips = kNaN;
  EXPECT_EQ(TableRectangle(input).x, kMax);
  EXPECT_EQ(TableRectangle(input).y, 64);  // an unknown position counts as 0
}

}  // namespace
TEST(EditorCellsOriginTest, TheFirstOpaqueCellLiesOnTheEditorsFirstCell) {
  for (const auto& [left, top] : {std::pair{0, 0}, std::pair{1500, 3000}, std::pair{-600, 45}}) {
    const GridLayout grid = LayoutGrid(10, 2, Widths(80, 120, 80, 80, 80));
    TableRectInput input;
    input.windowLeftTwips = left;
    input.windowTopTwips = top;
    input.picBackWidth = grid.gridBox.w;
    input.picBackHeight = grid.gridBox.h;
    const Rect table = TableRectangle(input);
    // The cell on the screen: window, grid box, its sunken edge, the cell's place inside.
    const Point onScreen{left / 15 + kGridBoxLeft + kGridBoxEdge + grid.cells[0].rect.x,
                         top / 15 + kGridBoxTop + kGridBoxEdge + grid.cells[0].rect.y};
    EXPECT_EQ(EditorCellsOrigin({table.x, table.y}), onScreen) << left << "," << top;
  }
}

// At a display scale the toolkit scales each cell text box's edges from the grid box's corner; the
// wallpaper's cells must land on exactly those pixels, the first cell's corner staying put.
TEST(ScaledCanvasTableTest, CellsLandOnTheEditorsCellsAsTheToolkitScalesThem) {
  const auto widths = Widths(80, 0, 133, 7, 400);
  const GridLayout grid = LayoutGrid(34, 5, widths);
  const Point first{501, -37};
  for (int dpi : {96, 120, 144, 168, 192}) {
    const auto px = [dpi](int64_t v) { return static_cast<int32_t>(std::lround(v * dpi / 96.0)); };
    const CanvasTableLayout scaled = ScaledCanvasTable(first, 34, 5, widths, dpi);
    ASSERT_EQ(scaled.cells.size(), grid.cells.size());
    const Point gridCorner{first.x - px(grid.cells[0].rect.x), first.y - px(grid.cells[0].rect.y)};
    for (size_t i = 0; i < grid.cells.size(); ++i) {
      const Rect& design = grid.cells[i].rect;
      const int32_t left = gridCorner.x + px(design.x), top = gridCorner.y + px(design.y);
      const Rect expected{left, top, gridCorner.x + px(design.x + design.w) - left,
                          gridCorner.y + px(design.y + design.h) - top};
      ASSERT_EQ(scaled.cells[i].rect, expected) << dpi << " dpi, cell " << i;
    }
    EXPECT_EQ(scaled.cells[0].rect.x, first.x);
    EXPECT_EQ(scaled.endTableY, first.y + 34 * Row_Pitch) << "the design value";
  }
  EXPECT_EQ(ScaledCanvasTable(first, 34, 5, widths, 96).cells,
            LayoutCanvasTable(501, -37, 34, 5, widths).cells);
}

}  // namespace qr
