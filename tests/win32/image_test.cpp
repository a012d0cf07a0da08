#include "win32/image.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "support/temp_folder.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/image_header.h"
#include "win32/image_test_pictures.h"

namespace qr::win {
namespace {

using test::ClaimedBitmap;
using test::Near;
using test::QuadrantPicture;
using test::TempFolder;

TEST(LoadImageFile, LoadsABitmapAtItsOwnSize) {
  TempFolder folder;
  const std::string path = folder.File("q.bmp");
  const Surface picture = QuadrantPicture(81, 61);
  ASSERT_TRUE(WriteBitmapFile(picture, path));

  const auto image = LoadImageFile(path);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 81);
  EXPECT_EQ(image->height, 61);
  EXPECT_EQ(image->region, (Rect{0, 0, 81, 61}));
  EXPECT_EQ(test::CountDifferences(image->pixels, picture), 0);
}

TEST(LoadImageFile, LoadsAJpeg) {
  TempFolder folder;
  const std::string path = folder.File("q.jpg");
  ASSERT_TRUE(WriteJpegFile(QuadrantPicture(160, 120), path));

  const auto image = LoadImageFile(path);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 160);
  EXPECT_EQ(image->height, 120);
  EXPECT_TRUE(Near(image->pixels.Pixel(10, 10), RGB(255, 0, 0), 24));
  EXPECT_TRUE(Near(image->pixels.Pixel(150, 10), RGB(0, 255, 0), 24));
  EXPECT_TRUE(Near(image->pixels.Pixel(10, 110), RGB(0, 0, 255), 24));
  EXPECT_TRUE(Near(image->pixels.Pixel(150, 110), RGB(255, 255, 0), 24));
}

TEST(LoadImageFile, DecodesALargePictureAtAReducedScaleButReportsItsOwnSize) {
  TempFolder folder;
  const std::string path = folder.File("big.jpg");
  ASSERT_TRUE(WriteJpegFile(QuadrantPicture(1600, 1200), path));

  const auto image = LoadImageFile(path, SIZE{400, 300});
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 1600);
  EXPECT_EQ(image->height, 1200);
  EXPECT_EQ(image->region, (Rect{0, 0, 1600, 1200}));
  const Surface& pixels = image->pixels;
  EXPECT_GE(pixels.width(), 400);
  EXPECT_GE(pixels.height(), 300);
  EXPECT_LE(pixels.width(), 800);  // at least halved
  EXPECT_LE(pixels.height(), 600);
  const int w = pixels.width(), h = pixels.height();
  EXPECT_TRUE(Near(pixels.Pixel(w / 4, h / 4), RGB(255, 0, 0), 24));
  EXPECT_TRUE(Near(pixels.Pixel(3 * w / 4, h / 4), RGB(0, 255, 0), 24));
  EXPECT_TRUE(Near(pixels.Pixel(w / 4, 3 * h / 4), RGB(0, 0, 255), 24));
  EXPECT_TRUE(Near(pixels.Pixel(3 * w / 4, 3 * h / 4), RGB(255, 255, 0), 24));
}

TEST(LoadImageFile, DecodesAtFullScaleWhenThePictureIsNotLargerThanItsPlace) {
  TempFolder folder;
  const std::string path = folder.File("q.bmp");
  ASSERT_TRUE(WriteBitmapFile(QuadrantPicture(300, 200), path));
  for (const SIZE place : {SIZE{300, 200}, SIZE{1000, 100}, SIZE{600, 400}}) {
    const auto image = LoadImageFile(path, place);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels.width(), 300);
    EXPECT_EQ(image->pixels.height(), 200);
  }
}

TEST(ImageFile, DecodesOnlyTheRequestedPartClippedToThePicture) {
  TempFolder folder;
  const std::string path = folder.File("q.bmp");
  const Surface picture = QuadrantPicture(200, 100);
  ASSERT_TRUE(WriteBitmapFile(picture, path));
  const auto file = ImageFile::Open(path);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size(), (Size{200, 100}));

  const auto part = file->Decode({.part = Rect{90, 40, 500, 500}});
  ASSERT_TRUE(part);
  EXPECT_EQ(part->region, (Rect{90, 40, 110, 60}));
  EXPECT_EQ(part->pixels.width(), 110);
  EXPECT_EQ(part->pixels.height(), 60);
  for (int y = 0; y < 60; y += 7)
    for (int x = 0; x < 110; x += 9) ASSERT_EQ(part->pixels.Pixel(x, y), picture.Pixel(90 + x, 40 + y));

  EXPECT_FALSE(file->Decode({.part = Rect{200, 0, 10, 10}}));  // wholly outside
  EXPECT_FALSE(file->Decode({.part = Rect{-20, -20, 20, 50}}));
}

TEST(LoadImageFile, GivesNothingForMissingEmptyOrUnreadableFiles) {
  TempFolder folder;
  EXPECT_FALSE(LoadImageFile(""));
  EXPECT_FALSE(LoadImageFile(folder.File("missing.jpg")));
  EXPECT_FALSE(LoadImageFile(folder.path()));
  EXPECT_FALSE(LoadImageFile(folder.Write("empty.jpg", "")));
  EXPECT_FALSE(LoadImageFile(folder.Write("text.jpg", "this is not a picture at all, only some words")));
  EXPECT_FALSE(LoadImageFile(folder.Write("zero.bmp", ClaimedBitmap(0, 10))));
}

TEST(LoadImageFile, RefusesAPictureTooLargeToDecode) {
  TempFolder folder;
  const std::string path = folder.Write("huge.bmp", ClaimedBitmap(30000, 30000));  // 900 million pixels
  EXPECT_FALSE(LoadImageFile(path));
  const auto file = ImageFile::Open(path);
  if (file) {
    EXPECT_FALSE(file->Decode());
  }
}

// A JPEG file of a w x h picture, its frame header then made to state another size.
std::string JpegStating(const TempFolder& folder, const std::string& name, int32_t w, int32_t h) {
  const std::string path = folder.File(name);
  if (!WriteJpegFile(QuadrantPicture(32, 16), path)) return {};
  std::string bytes = ReadFileBytes(path).value_or("");
  const size_t frame = bytes.find("\xFF\xC0");
  if (frame == std::string::npos) return {};
  bytes[frame + 5] = static_cast<char>(h >> 8);
  bytes[frame + 6] = static_cast<char>(h);
  bytes[frame + 7] = static_cast<char>(w >> 8);
  bytes[frame + 8] = static_cast<char>(w);
  return folder.Write(name, bytes);
}

TEST(PictureSizeFromHeader, ReadsTheSizeEachFormatStates) {
  TempFolder folder;
  const std::string jpeg = folder.File("a.jpg");
  ASSERT_TRUE(WriteJpegFile(QuadrantPicture(123, 45), jpeg));
  EXPECT_EQ(PictureSizeFromHeader(jpeg), (Size{123, 45}));

  // Metadata segments before the frame header are skipped.
  std::string bytes = *ReadFileBytes(jpeg);
  const std::string metadata = std::string("\xFF\xE1\xFF\xFF", 4) + std::string(0xFFFD, 'x');
  bytes.insert(2, metadata + metadata);
  const std::string padded = folder.Write("padded.jpg", bytes);
  EXPECT_EQ(PictureSizeFromHeader(padded), (Size{123, 45}));
  const auto loaded = LoadImageFile(padded);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->width, 123);

  const std::string bmp = folder.File("a.bmp");
  ASSERT_TRUE(WriteBitmapFile(QuadrantPicture(7, 3), bmp));
  EXPECT_EQ(PictureSizeFromHeader(bmp), (Size{7, 3}));
  EXPECT_EQ(PictureSizeFromHeader(folder.Write("top-down.bmp", ClaimedBitmap(640, -480))), (Size{640, 480}));

  const std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x01\x2C\0\0\0\xC8\x08\x02\0\0\0", 29);
  EXPECT_EQ(PictureSizeFromHeader(folder.Write("a.png", png)), (Size{300, 200}));
  const std::string gif("GIF89a\x40\x01\xF0\x00\xF7\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 26);
  EXPECT_EQ(PictureSizeFromHeader(folder.Write("a.gif", gif)), (Size{320, 240}));

  EXPECT_FALSE(PictureSizeFromHeader(folder.Write("a.txt", "plain words, not a picture header")));
  EXPECT_FALSE(PictureSizeFromHeader(folder.Write("cut.jpg", "\xFF\xD8\xFF")));
  EXPECT_FALSE(PictureSizeFromHeader(folder.File("missing.jpg")));
}

TEST(LoadImageFile, RefusesPicturesWhoseHeaderStatesAnAbsurdSizeBeforeAnyCodecSeesThem) {
  TempFolder folder;
  const std::string huge = JpegStating(folder, "huge.jpg", 40000, 40000);
  ASSERT_FALSE(huge.empty());
  EXPECT_FALSE(ImageFile::Open(huge));
  EXPECT_FALSE(LoadImageFile(huge, SIZE{1024, 768}));
  const std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\xEA\x60\0\0\xEA\x60\x08\x02\0\0\0", 29);
  EXPECT_FALSE(LoadImageFile(folder.Write("huge.png", png)));
  const std::string gif("GIF89a\xFF\xFF\xFF\xFF\xF7\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 26);
  EXPECT_FALSE(LoadImageFile(folder.Write("huge.gif", gif)));

  // A large but plausible stated size still reaches the codec (here it then finds the data cut short).
  const std::string wide = JpegStating(folder, "wide.jpg", 20000, 100);
  ASSERT_FALSE(wide.empty());
  EXPECT_EQ(PictureSizeFromHeader(wide), (Size{20000, 100}));
}

TEST(WriteJpegFile, FailsForAnEmptySurfaceOrAMissingFolder) {
  TempFolder folder;
  EXPECT_FALSE(WriteJpegFile(Surface(), folder.File("a.jpg")));
  EXPECT_FALSE(WriteJpegFile(QuadrantPicture(8, 8), folder.File("missing\\a.jpg")));
}

}  // namespace
}  // namespace qr::win
