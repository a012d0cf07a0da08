// Pictures: scaled copies made once, transparency kept exact through resampling, copies of bitmaps.
#include "forms/picture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "forms/test_form.h"

namespace qr::forms {
namespace {

using test::FillArea;

// A 10 x 10 key-coloured picture with a red square in the middle (3..6).
Picture KeyedSquare() {
  win::Surface s(10, 10, kMagenta);
  FillArea(s.dc(), {3, 3, 7, 7}, RGB(255, 0, 0));
  GdiFlush();
  return Picture::FromSurface(std::move(s), kMagenta);
}

// Catches a picture resampled again on every paint (slow, and a new image each time), or a scale of
// 96 that copies instead of sharing.
TEST(Picture, EachResolutionIsMadeOnceAndKept) {
  const Picture square = KeyedSquare();
  const Picture at144 = square.ForDpi(144);
  EXPECT_EQ(at144.Width(), 15);
  EXPECT_EQ(at144.Height(), 15);
  EXPECT_TRUE(square.ForDpi(144) == at144);
  EXPECT_FALSE(square.ForDpi(120) == at144);
  EXPECT_TRUE(square.ForDpi(96) == square);
  EXPECT_FALSE(Picture().ForDpi(144)) << "no picture stays no picture";
}

// Catches the key colour blended into the edges of a scaled picture: a pink fringe on screen, or
// transparent pixels that come out opaque.
TEST(Picture, ScaledTransparencyStaysExact) {
  const Picture at144 = KeyedSquare().ForDpi(144);
  win::Surface screen(15, 15, RGB(255, 255, 255));
  at144.Draw(screen.dc(), 0, 0);
  GdiFlush();
  EXPECT_EQ(screen.Pixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(screen.Pixel(14, 14), RGB(255, 255, 255));
  EXPECT_EQ(GetRValue(screen.Pixel(7, 7)), 255);
  EXPECT_LT(GetGValue(screen.Pixel(7, 7)), 60) << "the middle stays red";
  int keyed = 0, pinkFringe = 0;
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 15; ++x) {
      const COLORREF c = screen.Pixel(x, y);
      keyed += c == kMagenta;
      // Red mixed with the key would carry blue; red mixed with white carries green as well.
      pinkFringe += GetBValue(c) > GetGValue(c) + 40;
    }
  }
  EXPECT_EQ(keyed, 0);
  EXPECT_EQ(pinkFringe, 0);
}

// Catches a picture that shares the bitmap it was made from (changing or deleting the bitmap would
// change every control showing it).
TEST(Picture, FromBitmapCopiesThePixels) {
  const std::vector<uint32_t> pixels(12, 0x0A141E);
  HBITMAP bitmap = CreateBitmap(4, 3, 1, 32, pixels.data());
  ASSERT_NE(bitmap, nullptr);
  const Picture copy = Picture::FromBitmap(bitmap);
  DeleteObject(bitmap);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy.Width(), 4);
  EXPECT_EQ(copy.Pixels()->Pixel(3, 2), RGB(10, 20, 30));
}

}  // namespace
}  // namespace qr::forms
