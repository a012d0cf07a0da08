#include "core/image_header.h"

#include <gtest/gtest.h>

#include <string>

namespace qr {
namespace {

// Built by appending: GCC 12 warns falsely about "literal" + std::string.
void AppendBigEndian16(std::string& out, int v) {
  out += static_cast<char>(v >> 8);
  out += static_cast<char>(v & 0xFF);
}

std::string JpegSegment(unsigned char marker, const std::string& body) {
  std::string segment = "\xFF";
  segment += static_cast<char>(marker);
  AppendBigEndian16(segment, static_cast<int>(body.size()) + 2);
  return segment + body;
}

std::string JpegFrame(int width, int height) {
  std::string body = "\x08";
  AppendBigEndian16(body, height);
  AppendBigEndian16(body, width);
  body.append("\x01\x01\x11\x00", 4);
  return JpegSegment(0xC0, body);
}

TEST(PictureSizeFromHeaderBytes, JpegFrameHeaderIsFoundBehindMetadataAndFillBytes) {
  const std::string start = "\xFF\xD8";  // followed by segments
  EXPECT_EQ(PictureSizeFromHeaderBytes(start + JpegFrame(123, 45)), (Size{123, 45}));
  const std::string exif = JpegSegment(0xE1, std::string(60000, 'x'));
  EXPECT_EQ(PictureSizeFromHeaderBytes(start + exif + "\xFF\xFF" + JpegFrame(4000, 3000)),
            (Size{4000, 3000}));
  // Image data before a frame header, a frame header cut short, a file of fill bytes: no size.
  EXPECT_FALSE(PictureSizeFromHeaderBytes(start + JpegSegment(0xDA, "") + JpegFrame(1, 1)));
  EXPECT_FALSE(PictureSizeFromHeaderBytes(start + JpegFrame(123, 45).substr(0, 7)));
  EXPECT_FALSE(PictureSizeFromHeaderBytes(start + std::string(100000, '\xFF')));
}

TEST(PictureSizeFromHeaderBytes, SizesOfOtherFormatsAndNoneForTheRest) {
  std::string bmp = "BM" + std::string(32, '\0');
  bmp[14] = 40;
  bmp[18] = 7;
  bmp[22] = static_cast<char>(0xFD);  // height -3: a top-down bitmap
  bmp[23] = bmp[24] = bmp[25] = static_cast<char>(0xFF);
  EXPECT_EQ(PictureSizeFromHeaderBytes(bmp), (Size{7, 3}));
  const std::string png = std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16) +
                          std::string("\0\0\x01\x2C\0\0\0\xC8", 8) + std::string(5, '\0');
  EXPECT_EQ(PictureSizeFromHeaderBytes(png), (Size{300, 200}));
  EXPECT_EQ(PictureSizeFromHeaderBytes(std::string("GIF89a\x40\x01\xF0\x00", 10) + std::string(16, '\0')),
            (Size{320, 240}));
  EXPECT_FALSE(PictureSizeFromHeaderBytes("plain words, not a picture header"));
  EXPECT_FALSE(PictureSizeFromHeaderBytes(png.substr(0, 20)));
  EXPECT_FALSE(PictureSizeFromHeaderBytes(""));
}

// A JPEG cut short (an interrupted download) has no end marker after its scan; a thumbnail's end marker
// inside the metadata does not count.
TEST(JpegReachesItsEnd, TheEndMarkerMustFollowTheScan) {
  using namespace std::string_literals;
  const std::string thumbnail = "\xFF\xE1\0\x06\xFF\xD8\xFF\xD9"s;  // APP1 holding SOI, EOI
  const std::string scan = "\xFF\xDA\0\x02\x12\xFF\0\x34\xFF\xD3\x56"s;
  EXPECT_TRUE(JpegReachesItsEnd("\xFF\xD8"s + thumbnail + scan + "\xFF\xD9"));
  EXPECT_TRUE(JpegReachesItsEnd("\xFF\xD8"s + scan + "\xFF\xD9" + "appended video"));
  EXPECT_FALSE(JpegReachesItsEnd("\xFF\xD8"s + thumbnail + scan));
  EXPECT_FALSE(JpegReachesItsEnd("\xFF\xD8\xFF\xD9"s));
  EXPECT_FALSE(JpegReachesItsEnd("\xFF\xD8\xFF\xE1\xFF\xFF"s));  // a segment longer than the file
  EXPECT_FALSE(JpegReachesItsEnd("GIF89a"));
}

}  // namespace
}  // namespace qr
