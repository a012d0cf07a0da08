#include "win32/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace qr::win {
namespace {

TEST(Surface, StartsFilledAndReadsPixelsInBgrOrder) {
  Surface s(4, 3, RGB(10, 20, 30));
  ASSERT_TRUE(s.ok());
  EXPECT_EQ(s.width(), 4);
  EXPECT_EQ(s.height(), 3);
  EXPECT_EQ(s.Pixel(0, 0), RGB(10, 20, 30));
  EXPECT_EQ(s.Pixel(3, 2), RGB(10, 20, 30));
  EXPECT_EQ(s.Bits()[0], 0x000A141Eu);  // 0x00RRGGBB words
  // Black is not written but comes from the system, also in memory a dirtied surface just gave back.
  for (int round = 0; round < 2; ++round) {
    Surface black(640, 480);
    ASSERT_TRUE(black.ok());
    GdiFlush();
    EXPECT_EQ(std::count(black.Bits(), black.Bits() + 640 * 480, 0u), 640 * 480);
    black.Fill(RGB(255, 255, 255));
  }
}

TEST(Surface, GdiDrawingLandsInThePixels) {
  Surface s(8, 8, RGB(0, 0, 0));
  ASSERT_TRUE(s.ok());
  Brush red(CreateSolidBrush(RGB(255, 0, 0)));
  const RECT r{2, 3, 5, 6};
  FillRect(s.dc(), &r, red.get());
  EXPECT_EQ(s.Pixel(2, 3), RGB(255, 0, 0));
  EXPECT_EQ(s.Pixel(4, 5), RGB(255, 0, 0));
  EXPECT_EQ(s.Pixel(5, 6), RGB(0, 0, 0));
  EXPECT_EQ(s.Bits()[3 * 8 + 2], 0x00FF0000u);  // top row first
}

TEST(Surface, FillAndOutsidePixels) {
  Surface s(2, 2);
  s.Fill(RGB(1, 2, 3));
  EXPECT_EQ(s.Pixel(1, 1), RGB(1, 2, 3));
  EXPECT_EQ(s.Pixel(-1, 0), 0u);
  EXPECT_EQ(s.Pixel(2, 0), 0u);
  EXPECT_EQ(s.Pixel(0, 2), 0u);
}

TEST(Surface, ResizeKeepsWhatFitsAndFillsTheRest) {
  Surface s(4, 4, RGB(0, 0, 0));
  const RECT corner{0, 0, 2, 2};
  Brush blue(CreateSolidBrush(RGB(0, 0, 255)));
  FillRect(s.dc(), &corner, blue.get());
  s.Resize(6, 3, RGB(9, 9, 9));
  ASSERT_TRUE(s.ok());
  EXPECT_EQ(s.width(), 6);
  EXPECT_EQ(s.height(), 3);
  EXPECT_EQ(s.Pixel(1, 1), RGB(0, 0, 255));
  EXPECT_EQ(s.Pixel(3, 2), RGB(0, 0, 0));  // kept from the old image
  EXPECT_EQ(s.Pixel(5, 0), RGB(9, 9, 9));  // new area
}

TEST(Surface, EmptySurfaceStillHasAWorkingDcAndMovesOut) {
  Surface empty(0, 0);
  EXPECT_TRUE(empty.ok());
  EXPECT_EQ(empty.width(), 0);
  EXPECT_EQ(empty.Pixel(0, 0), 0u);
  EXPECT_NE(GetCurrentObject(empty.dc(), OBJ_BITMAP), nullptr);

  Surface a(3, 3, RGB(5, 5, 5));
  Surface b = std::move(a);
  EXPECT_FALSE(a.ok());
  EXPECT_EQ(a.width(), 0);
  EXPECT_EQ(b.Pixel(2, 2), RGB(5, 5, 5));
  Surface c;
  c = std::move(b);
  EXPECT_EQ(c.Pixel(0, 0), RGB(5, 5, 5));
}

}  // namespace
}  // namespace qr::win
