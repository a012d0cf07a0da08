#include "win32/bitmap_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "support/same_bitmap.h"
#include "support/temp_folder.h"
#include "win32/files.h"
#include "win32/handles.h"
#include "win32/image.h"
#include "win32/image_test_pictures.h"
#include "win32/text.h"

namespace qr::win {
namespace {

using test::TempFolder;

template <typename T>
T ReadAt(const std::string& bytes, size_t offset) {
  T value{};
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

TEST(WriteBitmapFile, WritesA24BitBottomUpBitmapWithPaddedRows) {
  TempFolder folder;
  Surface image(3, 2);  // 3 pixels = 9 bytes a row, padded to 12
  const COLORREF colours[2][3] = {{RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)},
                                  {RGB(10, 11, 12), RGB(13, 14, 15), RGB(16, 17, 18)}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) SetPixel(image.dc(), x, y, colours[y][x]);
  const std::string path = folder.File("odd.bmp");
  ASSERT_TRUE(WriteBitmapFile(image, path));

  const auto bytes = ReadFileBytes(path);
  ASSERT_TRUE(bytes);
  ASSERT_EQ(bytes->size(), 54u + 2 * 12);
  EXPECT_EQ(bytes->substr(0, 2), "BM");
  EXPECT_EQ(ReadAt<uint32_t>(*bytes, 2), 78u);   // file size
  EXPECT_EQ(ReadAt<uint32_t>(*bytes, 10), 54u);  // pixel data offset
  EXPECT_EQ(ReadAt<uint32_t>(*bytes, 14), 40u);  // BITMAPINFOHEADER
  EXPECT_EQ(ReadAt<int32_t>(*bytes, 18), 3);
  EXPECT_EQ(ReadAt<int32_t>(*bytes, 22), 2);  // positive height: bottom row first
  EXPECT_EQ(ReadAt<uint16_t>(*bytes, 26), 1);
  EXPECT_EQ(ReadAt<uint16_t>(*bytes, 28), 24);
  EXPECT_EQ(ReadAt<uint32_t>(*bytes, 30), static_cast<uint32_t>(BI_RGB));
  EXPECT_EQ(ReadAt<uint32_t>(*bytes, 34), 24u);  // image size

  // First stored row is the bottom row, blue-green-red, then three zero bytes of padding.
  const std::string expected(
      "\x0C\x0B\x0A\x0F\x0E\x0D\x12\x11\x10\0\0\0"
      "\x03\x02\x01\x06\x05\x04\x09\x08\x07\0\0\0",
      24);
  EXPECT_EQ(bytes->substr(54), expected);
}

TEST(WriteBitmapFile, ReadsBackPixelForPixelAcrossManyWriteChunks) {
  TempFolder folder;
  Surface image(1001, 500);  // 1.5 MB of rows: more than one buffered write
  GdiFlush();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      image.Bits()[static_cast<size_t>(y) * image.width() + x] =
          static_cast<uint32_t>((x * 7) ^ (y * 131) ^ (x * y));
  const std::string path = folder.File("big.bmp");
  ASSERT_TRUE(WriteBitmapFile(image, path));

  const auto loaded = LoadImageFile(path);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->width, 1001);
  EXPECT_EQ(loaded->height, 500);
  EXPECT_EQ(test::CountDifferences(loaded->pixels, image), 0);
}

// Two bitmaps that differ in one pixel are reported by that pixel (top-down, as the picture shows it),
// not by printing both files.
TEST(SameBitmapBytes, NamesTheFirstPixelThatDiffers) {
  TempFolder folder;
  Surface picture(5, 3, RGB(10, 20, 30));
  const std::string a = folder.File("a.bmp"), b = folder.File("b.bmp");
  ASSERT_TRUE(WriteBitmapFile(picture, a));
  SetPixel(picture.dc(), 3, 2, RGB(10, 20, 31));
  GdiFlush();
  ASSERT_TRUE(WriteBitmapFile(picture, b));
  EXPECT_TRUE(test::SameBitmapBytes(ReadFileBytes(a), ReadFileBytes(a)));
  const ::testing::AssertionResult differ = test::SameBitmapBytes(ReadFileBytes(b), ReadFileBytes(a));
  ASSERT_FALSE(differ);
  EXPECT_NE(std::string(differ.message()).find("pixel (3, 2) of 5 x 3, channel B): 31 against 30"),
            std::string::npos)
      << differ.message();
}

TEST(WriteBitmapFile, ReplacesAnExistingFileAndLeavesNoTemporaryFile) {
  TempFolder folder;
  const std::string path = folder.Write("wall.bmp", "old content");
  ASSERT_TRUE(WriteBitmapFile(test::QuadrantPicture(40, 30), path));
  const auto loaded = LoadImageFile(path);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->pixels.Pixel(39, 29), RGB(255, 255, 0));
  EXPECT_EQ(GetFileAttributesW(Wide(path + ".tmp~").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(WriteBitmapFile, KeepsTheOldFileWhenTheTargetCannotBeReplaced) {
  TempFolder folder;
  const std::string path = folder.Write("busy.bmp", "old content");
  {
    // Another program has the file open and does not allow it to be deleted or renamed over.
    File holder(
        CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_FALSE(WriteBitmapFile(test::QuadrantPicture(40, 30), path));
  }
  EXPECT_TRUE(ReadFileBytes(path) == std::optional<std::string>("old content"));
  EXPECT_EQ(GetFileAttributesW(Wide(path + ".tmp~").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(WriteBitmapFile, FailsWithoutWritingAnythingForAMissingFolderOrAnEmptySurface) {
  TempFolder folder;
  EXPECT_FALSE(WriteBitmapFile(test::QuadrantPicture(4, 4), folder.File("missing\\x.bmp")));
  const std::string path = folder.File("empty.bmp");
  EXPECT_FALSE(WriteBitmapFile(Surface(0, 10), path));
  EXPECT_FALSE(WriteBitmapFile(Surface(), path));
  EXPECT_EQ(GetFileAttributesW(Wide(path).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(Wide(path + ".tmp~").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace qr::win
