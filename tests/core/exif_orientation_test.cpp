#include "core/exif_orientation.h"

#include <gtest/gtest.h>

#include <string>

namespace qr {
namespace {

using namespace std::string_literals;

// SOI, an APP0 segment, then an APP1 "Exif" segment whose first directory holds `entries`.
std::string JpegWithExif(bool bigEndian, const std::string& entries, uint16_t count) {
  const auto u16 = [&](uint16_t v) {
    return bigEndian ? std::string{char(v >> 8), char(v & 0xFF)} : std::string{char(v & 0xFF), char(v >> 8)};
  };
  const std::string tiff = (bigEndian ? "MM\0*"s : "II*\0"s) + (bigEndian ? "\0\0\0\x08"s : "\x08\0\0\0"s) +
                           u16(count) + entries + "\0\0\0\0"s;
  const std::string exif = "Exif\0\0"s + tiff;
  const auto length = static_cast<uint16_t>(exif.size() + 2);
  return "\xFF\xD8"s + "\xFF\xE0\0\x04zz"s + "\xFF\xE1"s + char(length >> 8) + char(length & 0xFF) + exif +
         "\xFF\xDA\0\x02"s;
}

std::string Entry(bool bigEndian, uint16_t tag, uint16_t type, uint16_t value) {
  const auto u16 = [&](uint16_t v) {
    return bigEndian ? std::string{char(v >> 8), char(v & 0xFF)} : std::string{char(v & 0xFF), char(v >> 8)};
  };
  const std::string one = bigEndian ? "\0\0\0\x01"s : "\x01\0\0\0"s;
  return u16(tag) + u16(type) + one + u16(value) + "\0\0"s;
}

TEST(ExifOrientation, ReadInEitherByteOrderAfterOtherTags) {
  for (const bool big : {false, true}) {
    SCOPED_TRACE(big ? "big-endian" : "little-endian");
    const std::string entries = Entry(big, 0x010F, 2, 0) + Entry(big, 0x0112, 3, 6);
    EXPECT_EQ(JpegExifOrientation(JpegWithExif(big, entries, 2)), 6);
    EXPECT_EQ(JpegExifOrientation(JpegWithExif(big, Entry(big, 0x0112, 3, 8), 1)), 8);
  }
}

TEST(ExifOrientation, AnythingUnreadableMeansAsStored) {
  EXPECT_EQ(JpegExifOrientation(""), 1);
  EXPECT_EQ(JpegExifOrientation("\xFF\xD8\xFF\xDA\0\x02"s), 1);
  EXPECT_EQ(JpegExifOrientation(JpegWithExif(false, Entry(false, 0x0112, 3, 9), 1)), 1);  // out of range
  EXPECT_EQ(JpegExifOrientation(JpegWithExif(false, Entry(false, 0x0112, 4, 6), 1)), 1);  // not a SHORT
  // A directory claiming more entries than the segment holds, and the segment cut short.
  EXPECT_EQ(JpegExifOrientation(JpegWithExif(false, Entry(false, 0x0100, 3, 6), 900)), 1);
  const std::string whole = JpegWithExif(true, Entry(true, 0x0112, 3, 3), 1);
  EXPECT_EQ(JpegExifOrientation(whole), 3);
  EXPECT_EQ(JpegExifOrientation(whole.substr(0, whole.size() - 12)), 1);
}

// A 3 x 2 picture with pixels numbered 0..5 row by row, shown under each orientation.
TEST(ExifOrientation, EachOrientationShowsTheStoredPixelsTurnedAsTheCameraSaid) {
  const Size stored{3, 2};
  const auto shown = [&](int orientation) {
    const Size size = OrientedSize(stored, orientation);
    std::string pixels;
    for (int32_t y = 0; y < size.h; ++y) {
      for (int32_t x = 0; x < size.w; ++x) {
        const Point p = StoredPixelOf(orientation, x, y, stored);
        pixels += static_cast<char>('0' + p.y * stored.w + p.x);
      }
      pixels += '|';
    }
    return pixels;
  };
  EXPECT_EQ(shown(1), "012|345|");
  EXPECT_EQ(shown(2), "210|543|");
  EXPECT_EQ(shown(3), "543|210|");
  EXPECT_EQ(shown(4), "345|012|");
  EXPECT_EQ(shown(5), "03|14|25|");
  EXPECT_EQ(shown(6), "30|41|52|");  // turned a quarter clockwise
  EXPECT_EQ(shown(7), "52|41|30|");
  EXPECT_EQ(shown(8), "25|14|03|");  // turned a quarter anticlockwise
  EXPECT_EQ(StoredRectOf(6, Rect{1, 1, 1, 2}, stored), (Rect{1, 0, 2, 1}));
  EXPECT_EQ(StoredRectOf(3, Rect{0, 0, 2, 1}, stored), (Rect{1, 1, 2, 1}));
}

}  // namespace
}  // namespace qr
