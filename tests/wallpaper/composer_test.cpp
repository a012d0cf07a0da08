#include "wallpaper/composer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>
#include <string>

#include "core/geometry.h"
#include "support/temp_folder.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/image.h"
#include "win32/image_test_pictures.h"

namespace qr {
namespace {

using test::ClaimedBitmap;
using test::CountOther;
using test::QuadrantPicture;
using win::Surface;

constexpr COLORREF kDesk = RGB(10, 20, 30);
constexpr COLORREF kTL = RGB(255, 0, 0), kTR = RGB(0, 255, 0), kBL = RGB(0, 0, 255), kBR = RGB(255, 255, 0);

class ComposerTest : public ::testing::Test {
 protected:
  // A bitmap file of a w x h quadrant picture.
  std::string Picture(int w, int h) {
    std::string name = "q";
    name += std::to_string(w);
    name += "x";
    name += std::to_string(h);
    const std::string path = folder_.File(name + ".bmp");
    if (written_.insert(path).second) {
      EXPECT_TRUE(win::WriteBitmapFile(QuadrantPicture(w, h), path));
    }
    return path;
  }

  static Surface Compose(int w, int h, int16_t mode, int16_t placement, const std::string& path) {
    Surface target(w, h, RGB(255, 255, 255));
    ComposeBackground(target, {BackgroundKindOf(mode), path, PlacementOf(placement), kDesk});
    return target;
  }

  static int64_t DeskPixels(const Surface& s) {
    return int64_t{s.width()} * s.height() - CountOther(s, 0, 0, s.width(), s.height(), kDesk);
  }

  test::TempFolder folder_;
  std::set<std::string> written_;
};

TEST_F(ComposerTest, NoWallpaperIsThePlainDesktopColour) {
  const Surface s = Compose(1024, 768, 2, 0, Picture(800, 600));
  EXPECT_EQ(DeskPixels(s), 1024 * 768);
  const Surface other = Compose(640, 480, 7, 0, Picture(800, 600));  // unknown modes too
  EXPECT_EQ(DeskPixels(other), 640 * 480);
}

TEST_F(ComposerTest, CentresASmallerPictureFramedByTheDesktopColour) {
  const Surface s = Compose(1024, 768, 1, 0, Picture(800, 600));  // at (112, 84)
  EXPECT_EQ(s.Pixel(112, 84), kTL);
  EXPECT_EQ(s.Pixel(111, 84), kDesk);
  EXPECT_EQ(s.Pixel(112, 83), kDesk);
  EXPECT_EQ(s.Pixel(911, 84), kTR);
  EXPECT_EQ(s.Pixel(112, 683), kBL);
  EXPECT_EQ(s.Pixel(911, 683), kBR);
  EXPECT_EQ(s.Pixel(912, 683), kDesk);
  EXPECT_EQ(s.Pixel(911, 684), kDesk);
  EXPECT_EQ(s.Pixel(511, 383), kTL);
  EXPECT_EQ(s.Pixel(512, 384), kBR);
  EXPECT_EQ(DeskPixels(s), 1024 * 768 - 800 * 600);
}

TEST_F(ComposerTest, CentresALargerPictureCutOffEquallyOnBothSides) {
  const Surface s = Compose(1024, 768, 1, 0, Picture(1600, 1200));  // at (-288, -216)
  EXPECT_EQ(DeskPixels(s), 0);
  EXPECT_EQ(s.Pixel(0, 0), kTL);
  EXPECT_EQ(s.Pixel(511, 383), kTL);  // picture pixel (799, 599)
  EXPECT_EQ(s.Pixel(512, 383), kTR);
  EXPECT_EQ(s.Pixel(511, 384), kBL);
  EXPECT_EQ(s.Pixel(512, 384), kBR);
  EXPECT_EQ(s.Pixel(1023, 767), kBR);
}

TEST_F(ComposerTest, FullScreenScalesByThePictureOrientation) {
  {
    SCOPED_TRACE("landscape of the screen's shape fills it");
    const Surface s = Compose(1024, 768, 1, 2, Picture(800, 600));
    EXPECT_EQ(DeskPixels(s), 0);
    EXPECT_EQ(s.Pixel(0, 0), kTL);
    EXPECT_EQ(s.Pixel(510, 382), kTL);
    EXPECT_EQ(s.Pixel(513, 385), kBR);
    EXPECT_EQ(s.Pixel(1023, 767), kBR);
  }
  {
    SCOPED_TRACE("landscape narrower in shape than the screen overflows top and bottom");
    const Surface s = Compose(1280, 720, 1, 2, Picture(800, 600));  // 1280 x 960 at (0, -120)
    EXPECT_EQ(DeskPixels(s), 0);
    EXPECT_EQ(s.Pixel(0, 0), kTL);
    EXPECT_EQ(s.Pixel(638, 358), kTL);
    EXPECT_EQ(s.Pixel(641, 358), kTR);
    EXPECT_EQ(s.Pixel(638, 361), kBL);
    EXPECT_EQ(s.Pixel(1279, 719), kBR);
  }
  {
    SCOPED_TRACE("portrait fills the height");
    const Surface s = Compose(1024, 768, 1, 2, Picture(600, 800));  // 576 x 768 at (224, 0)
    EXPECT_EQ(s.Pixel(223, 0), kDesk);
    EXPECT_EQ(s.Pixel(224, 0), kTL);
    EXPECT_EQ(s.Pixel(799, 767), kBR);
    EXPECT_EQ(s.Pixel(800, 767), kDesk);
    EXPECT_EQ(DeskPixels(s), 448 * 768);
  }
  {
    SCOPED_TRACE("square fills the height");
    const Surface s = Compose(1024, 768, 1, 2, Picture(500, 500));  // 768 x 768 at (128, 0)
    EXPECT_EQ(s.Pixel(127, 300), kDesk);
    EXPECT_EQ(s.Pixel(128, 0), kTL);
    EXPECT_EQ(s.Pixel(895, 767), kBR);
    EXPECT_EQ(s.Pixel(896, 767), kDesk);
    EXPECT_EQ(DeskPixels(s), 256 * 768);
  }
}

TEST_F(ComposerTest, FullScreenOfALargeJpegDecodedAtAReducedScale) {
  const std::string path = folder_.File("large.jpg");
  ASSERT_TRUE(win::WriteJpegFile(QuadrantPicture(4000, 3000), path));
  const Surface s = Compose(1024, 768, 1, 2, path);
  EXPECT_EQ(DeskPixels(s), 0);
  EXPECT_TRUE(test::Near(s.Pixel(256, 192), kTL, 24));
  EXPECT_TRUE(test::Near(s.Pixel(768, 192), kTR, 24));
  EXPECT_TRUE(test::Near(s.Pixel(256, 576), kBL, 24));
  EXPECT_TRUE(test::Near(s.Pixel(768, 576), kBR, 24));
}

// The tiles a column-by-column loop lays from the top-left corner, drawn one by one.
Surface ReferenceTiling(int w, int h, const Surface& tile) {
  Surface reference(w, h, kDesk);
  for (const Point p : TileOrigins(w, h, tile.width(), tile.height()))
    BitBlt(reference.dc(), p.x, p.y, tile.width(), tile.height(), tile.dc(), 0, 0, SRCCOPY);
  return reference;
}

TEST_F(ComposerTest, TilesColumnByColumnFromTheTopLeftCorner) {
  for (const Size tile : {Size{300, 200}, Size{7, 5}, Size{1024, 768}, Size{1600, 1200}}) {
    SCOPED_TRACE(testing::Message() << tile.w << "x" << tile.h);
    const Surface s = Compose(1024, 768, 1, 1, Picture(tile.w, tile.h));
    EXPECT_EQ(test::CountDifferences(s, ReferenceTiling(1024, 768, QuadrantPicture(tile.w, tile.h))), 0);
  }
  // A one-pixel picture (its only pixel lies in the bottom-right quadrant) covers the screen.
  EXPECT_EQ(CountOther(Compose(1024, 768, 1, 1, Picture(1, 1)), 0, 0, 1024, 768, kBR), 0);

  const Surface s = Compose(1024, 768, 1, 1, Picture(300, 200));
  EXPECT_EQ(s.Pixel(900, 600), kTL);  // the last column and row of tiles start there
  EXPECT_EQ(s.Pixel(1023, 767), kBL);
}

TEST_F(ComposerTest, AnUnusablePictureLeavesTheDesktopColour) {
  // A JPEG whose data ends halfway: its upper rows decode before the damage shows.
  const std::string whole = folder_.File("whole.jpg");
  ASSERT_TRUE(win::WriteJpegFile(QuadrantPicture(640, 480), whole));
  const std::string bytes = win::ReadFileBytes(whole).value_or("");
  const std::string paths[] = {folder_.Write("cut.jpg", bytes.substr(0, bytes.size() / 2)),
                               "",
                               folder_.File("missing.jpg"),
                               folder_.Write("words.jpg", "not a picture"),
                               folder_.Write("empty.bmp", ""),
                               folder_.Write("zero.bmp", ClaimedBitmap(0, 0)),
                               folder_.Write("flat.bmp", ClaimedBitmap(500, 0)),
                               folder_.Write("huge.bmp", ClaimedBitmap(40000, 40000))};
  for (const std::string& path : paths)
    for (int16_t placement = 0; placement <= 2; ++placement) {
      SCOPED_TRACE(testing::Message() << path << " placement " << placement);
      EXPECT_EQ(DeskPixels(Compose(320, 240, 1, placement, path)), 320 * 240);
    }
}

TEST_F(ComposerTest, AnUnknownPlacementDrawsNothing) {
  EXPECT_EQ(DeskPixels(Compose(320, 240, 1, 3, Picture(100, 100))), 320 * 240);
  EXPECT_EQ(DeskPixels(Compose(320, 240, 1, -1, Picture(100, 100))), 320 * 240);
}

TEST_F(ComposerTest, PreviewCentresOnTheUnroundedScreenSize) {
  const std::string path = Picture(800, 600);
  Surface canvas(1025, 768);
  ComposeBackground(canvas, {BackgroundKind::ImageFile, path, Placement::Centred,
                             kDesk});  // (1025 - 800) / 2 = 112.5, to even: 112
  EXPECT_EQ(canvas.Pixel(112, 100), kTL);

  Surface preview(1025, 768);
  ComposePreview(preview, {BackgroundKind::DesktopColour, path, Placement::Centred, kDesk}, 1025.4,
                 768.0);  // 112.7: 113; the kind is not consulted
  EXPECT_EQ(preview.Pixel(112, 100), kDesk);
  EXPECT_EQ(preview.Pixel(113, 84), kTL);
  EXPECT_EQ(preview.Pixel(113, 83), kDesk);
}

TEST_F(ComposerTest, PreviewPlacesTiledAndFullScreenAsTheCanvasDoes) {
  for (int16_t placement : {1, 2}) {
    Surface preview(1024, 768);
    ComposePreview(preview,
                   {BackgroundKind::CurrentWallpaper, Picture(600, 800), PlacementOf(placement), kDesk},
                   1024.0, 768.0);
    EXPECT_EQ(test::CountDifferences(preview, Compose(1024, 768, 1, placement, Picture(600, 800))), 0);
  }
}

TEST_F(ComposerTest, UnscaledPictureSitsAtTheTopLeftOnBlack) {
  Surface s(1024, 768, kDesk);
  EXPECT_TRUE(ComposeUnscaledPicture(s, Picture(400, 300)));
  EXPECT_EQ(s.Pixel(0, 0), kTL);
  EXPECT_EQ(s.Pixel(399, 299), kBR);
  EXPECT_EQ(s.Pixel(400, 0), RGB(0, 0, 0));
  EXPECT_EQ(s.Pixel(0, 300), RGB(0, 0, 0));
  EXPECT_EQ(CountOther(s, 0, 0, 1024, 768, RGB(0, 0, 0)), 400 * 300);

  EXPECT_TRUE(ComposeUnscaledPicture(s, Picture(1600, 1200)));
  EXPECT_EQ(s.Pixel(799, 599), kTL);
  EXPECT_EQ(s.Pixel(800, 600), kBR);

  EXPECT_FALSE(ComposeUnscaledPicture(s, folder_.File("missing.bmp")));
  EXPECT_EQ(CountOther(s, 0, 0, 1024, 768, RGB(0, 0, 0)), 0);
}

TEST_F(ComposerTest, TimingsCountOnlyTheStagesThatRan) {
  Surface s(320, 240);
  ComposeTimings plain;
  ComposeBackground(s, {BackgroundKind::DesktopColour, "", Placement::Centred, kDesk}, &plain);
  EXPECT_EQ(plain.decodeMs, 0.0);
  EXPECT_EQ(plain.tableMs, 0.0);

  ComposeTimings picture;
  ComposeBackground(s, {BackgroundKind::ImageFile, Picture(800, 600), Placement::FullScreen, kDesk},
                    &picture);
  EXPECT_GT(picture.decodeMs, 0.0);
  EXPECT_GT(picture.placeMs, 0.0);
}

}  // namespace
}  // namespace qr
