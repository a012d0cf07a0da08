#include "core/text_effect.h"

#include <gtest/gtest.h>

#include <vector>

namespace qr {
namespace {

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255};

TEST(Contrast, FollowsTheWcagFormula) {
  EXPECT_NEAR(ContrastRatio(kBlack, kWhite), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(kWhite, kBlack), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio({10, 200, 30}, {10, 200, 30}), 1.0, 1e-9);
  EXPECT_NEAR(RelativeLuminance({255, 0, 0}), 0.2126, 1e-9);
  EXPECT_NEAR(ContrastRatio({119, 119, 119}, kWhite), 4.48, 0.01);  // the well-known grey just short of 4.5
}

// Whatever the text colour, its halo reaches the ratio that body text needs.
TEST(Contrast, TheHaloOfEveryTextColourContrastsAtLeastFourAndAHalfToOne) {
  EXPECT_EQ(HaloColourFor(kWhite), kBlack);
  EXPECT_EQ(HaloColourFor({255, 255, 0}), kBlack);
  EXPECT_EQ(HaloColourFor(kBlack), kWhite);
  EXPECT_EQ(HaloColourFor({0, 0, 128}), kWhite);
  double least = 21;
  for (int r = 0; r <= 255; r += 5)
    for (int g = 0; g <= 255; g += 5)
      for (int b = 0; b <= 255; b += 5) {
        const Rgb text{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
        least = std::min(least, ContrastRatio(text, HaloColourFor(text)));
      }
  EXPECT_GE(least, 4.5);
}

TEST(Contrast, TheHaloWidensWithTheDisplayScale) {
  EXPECT_EQ(HaloRadius(96), 1);
  EXPECT_EQ(HaloRadius(120), 1);
  EXPECT_EQ(HaloRadius(144), 2);
  EXPECT_EQ(HaloRadius(192), 2);
  EXPECT_EQ(HaloRadius(288), 3);
  EXPECT_EQ(HaloRadius(0), 1);
}

struct Image {
  Image(int w, int h, Rgb fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, PixelOf(fill)) {}
  PixelRows Rows() { return {pixels.data(), width, height, width}; }
  Rgb At(int x, int y) const { return RgbOfPixel(pixels[static_cast<size_t>(y) * width + x]); }
  int width, height;
  std::vector<uint32_t> pixels;
};

TEST(Panel, MixesTheColourAtTheOpacityInsideTheClippedRectangleOnly) {
  Image image(6, 4, {200, 100, 0});
  BlendRect(image.Rows(), {-2, 1, 5, 10}, {0, 0, 255}, 50);
  EXPECT_EQ(image.At(0, 1), (Rgb{100, 50, 128}));
  EXPECT_EQ(image.At(2, 3), (Rgb{100, 50, 128}));
  EXPECT_EQ(image.At(3, 1), (Rgb{200, 100, 0}));  // right of the rectangle
  EXPECT_EQ(image.At(0, 0), (Rgb{200, 100, 0}));  // above it
  BlendRect(image.Rows(), {3, 0, 3, 1}, {255, 255, 255}, 25);
  EXPECT_EQ(image.At(4, 0), (Rgb{214, 139, 64}));
  BlendRect(image.Rows(), {5, 3, 1, 1}, {255, 255, 255}, 75);
  EXPECT_EQ(image.At(5, 3), (Rgb{241, 216, 191}));
}

// A mask of one vertical stroke, white on black, two pixels from the mask's left edge.
class HaloTest : public ::testing::Test {
 protected:
  HaloTest() : mask(8, 9, kBlack) {
    for (int y = 2; y <= 6; ++y) mask.pixels[static_cast<size_t>(y) * mask.width + 2] = PixelOf(kWhite);
  }
  Image Compose(TextEffect effect, Rgb background, Rgb text, Point at = {10, 10}) {
    Image image(30, 30, background);
    HaloText(effect, 1).Compose(image.Rows(), at, mask.Rows(), text);
    return image;
  }
  Image mask;
};

TEST_F(HaloTest, TheOutlineRingsTheGlyphsInTheContrastingColourAndKeepsTheText) {
  const Image white = Compose(TextEffect::Outline, kWhite, kWhite);
  for (int y = 11; y <= 17; ++y) {
    EXPECT_EQ(white.At(11, y), kBlack) << y;
    EXPECT_EQ(white.At(13, y), kBlack) << y;
    EXPECT_EQ(white.At(12, y), y == 11 || y == 17 ? kBlack : kWhite) << y;  // the stroke stays white
    EXPECT_EQ(white.At(10, y), kWhite) << y;
    EXPECT_EQ(white.At(14, y), kWhite) << y;
  }
  EXPECT_EQ(white.At(12, 10), kWhite);
  EXPECT_EQ(white.At(12, 18), kWhite);
  const Image black = Compose(TextEffect::Outline, kBlack, kBlack);
  EXPECT_EQ(black.At(13, 14), kWhite);
  EXPECT_EQ(black.At(12, 14), kBlack);
}

TEST_F(HaloTest, AWiderRadiusWidensTheOutlineAndBuffersKeptBetweenTextsLeaveNoTrace) {
  Image wide(30, 30, kWhite);
  HaloText(TextEffect::Outline, 2).Compose(wide.Rows(), {10, 10}, mask.Rows(), kWhite);
  EXPECT_EQ(wide.At(10, 14), kBlack);  // two pixels left of the stroke
  EXPECT_EQ(wide.At(14, 10), kBlack);  // and diagonally beyond its end
  EXPECT_EQ(wide.At(9, 14), kWhite);

  // One painter for a large text, then a small one: the second as a fresh painter draws it.
  for (const TextEffect effect : {TextEffect::Outline, TextEffect::Shadow}) {
    HaloText reused(effect, 1);
    Image first(30, 30, kWhite), second(30, 30, kWhite), fresh(30, 30, kWhite);
    Image big(20, 12, kBlack);
    for (int y = 1; y < 11; ++y)
      for (int x = 1; x < 19; x += 2) big.pixels[static_cast<size_t>(y) * 20 + x] = PixelOf(kWhite);
    reused.Compose(first.Rows(), {2, 2}, big.Rows(), kWhite);
    reused.Compose(second.Rows(), {5, 5}, mask.Rows(), kWhite);
    HaloText(effect, 1).Compose(fresh.Rows(), {5, 5}, mask.Rows(), kWhite);
    EXPECT_EQ(second.pixels, fresh.pixels);
  }
}

TEST_F(HaloTest, TheShadowFallsDownAndRightSoftened) {
  const Image s = Compose(TextEffect::Shadow, kWhite, kWhite);
  EXPECT_EQ(s.At(13, 15), kBlack);            // one pixel right of the stroke: full
  EXPECT_GT(s.At(14, 15).r, 0);               // softened further out
  EXPECT_LT(s.At(14, 15).r, s.At(11, 15).r);  // darker on the right than on the left
  EXPECT_LT(s.At(13, 18).r, s.At(13, 10).r);  // and below than above
  EXPECT_EQ(s.At(12, 15), kWhite);            // the text over it
  EXPECT_EQ(s.At(10, 10), kWhite);            // nothing up and left beyond the softening
  EXPECT_EQ(s.At(16, 15), kWhite);            // nor far to the right
}

TEST_F(HaloTest, NothingOutsideTheImageOrForOtherEffectsOrAnEmptyMask) {
  for (const TextEffect effect : {TextEffect::None, TextEffect::Panel}) {
    const Image s = Compose(effect, kWhite, kWhite);
    EXPECT_EQ(s.pixels, Image(30, 30, kWhite).pixels);
  }
  // Partly outside, the part inside is drawn; wholly outside, nothing.
  EXPECT_EQ(Compose(TextEffect::Shadow, kWhite, kWhite, {-1, -1}).At(2, 3), kBlack);
  EXPECT_EQ(Compose(TextEffect::Shadow, kWhite, kWhite, {26, 25}).At(29, 28), kBlack);
  EXPECT_EQ(Compose(TextEffect::Shadow, kWhite, kWhite, {-100, 3}).pixels, Image(30, 30, kWhite).pixels);
  mask = Image(8, 9, kBlack);
  EXPECT_EQ(Compose(TextEffect::Outline, kWhite, kWhite).pixels, Image(30, 30, kWhite).pixels);
}

}  // namespace
}  // namespace qr
