// EXIF orientation read from a JPEG's header.
#include "core/exif_orientation.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace qr {

namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;

struct TiffReader {
  std::string_view data;  // from the TIFF header on
  bool bigEndian = false;

  bool Has(size_t offset, size_t count) const {
    return offset <= data.size() && count <= data.size() - offset;
  }
  uint16_t U16(size_t offset) const {
    const auto b0 = static_cast<unsigned char>(data[offset]);
    const auto b1 = static_cast<unsigned char>(data[offset + 1]);
    return static_cast<uint16_t>(bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0));
  }
  uint32_t U32(size_t offset) const {
    const uint32_t first = U16(offset);
    const uint32_t second = U16(offset + 2);
    return bigEndian ? (first << 16 | second) : (second << 16 | first);
  }
};

// The orientation in the first directory of an EXIF block ("Exif\0\0" and a TIFF structure); 1 if none.
int OrientationInExif(std::string_view exif) {
  if (exif.substr(0, 6) != std::string_view("Exif\0\0", 6)) return 1;
  TiffReader tiff{exif.substr(6)};
  if (!tiff.Has(0, 8)) return 1;
  if (tiff.data.substr(0, 4) == std::string_view("MM\0*", 4)) {
    tiff.bigEndian = true;
  } else if (tiff.data.substr(0, 4) != std::string_view("II*\0", 4)) {
    return 1;
  }
  const size_t directory = tiff.U32(4);
  if (!tiff.Has(directory, 2)) return 1;
  const size_t entries = tiff.U16(directory);
  for (size_t i = 0; i < entries; ++i) {
    const size_t entry = directory + 2 + i * 12;
    if (!tiff.Has(entry, 12)) return 1;
    if (tiff.U16(entry) != kOrientationTag) continue;
    if (tiff.U16(entry + 2) != kShortType || tiff.U32(entry + 4) != 1) return 1;
    const int value = tiff.U16(entry + 8);
    return value >= 1 && value <= 8 ? value : 1;
  }
  return 1;
}

}  // namespace

int JpegExifOrientation(std::string_view bytes) {
  if (bytes.substr(0, 2) != "\xFF\xD8") return 1;
  size_t pos = 2;
  while (pos + 4 <= bytes.size() && static_cast<unsigned char>(bytes[pos]) == 0xFF) {
    const auto marker = static_cast<unsigned char>(bytes[pos + 1]);
    if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA) return 1;  // no metadata after these
    const size_t length = static_cast<size_t>(static_cast<unsigned char>(bytes[pos + 2]) << 8 |
                                              static_cast<unsigned char>(bytes[pos + 3]));
    if (length < 2) return 1;
    if (marker == 0xE1) {
      const int orientation = OrientationInExif(bytes.substr(pos + 4, length - 2));
      if (orientation != 1) return orientation;
    }
    pos += 2 + length;
  }
  return 1;
}

Size OrientedSize(Size stored, int orientation) {
  return orientation >= 5 && orientation <= 8 ? Size{stored.h, stored.w} : stored;
}

Point StoredPixelOf(int orientation, int32_t x, int32_t y, Size stored) {
  const int32_t right = stored.w - 1;
  const int32_t bottom = stored.h - 1;
  switch (orientation) {
    case 2:
      return {right - x, y};  // mirrored left to right
    case 3:
      return {right - x, bottom - y};  // turned half round
    case 4:
      return {x, bottom - y};  // mirrored top to bottom
    case 5:
      return {y, x};  // mirrored along the main diagonal
    case 6:
      return {y, bottom - x};  // to be turned a quarter clockwise
    case 7:
      return {right - y, bottom - x};  // mirrored along the other diagonal
    case 8:
      return {right - y, x};  // to be turned a quarter anticlockwise
    default:
      return {x, y};
  }
}

Rect StoredRectOf(int orientation, const Rect& shown, Size stored) {
  if (shown.w <= 0 || shown.h <= 0) return {};
  const Point a = StoredPixelOf(orientation, shown.x, shown.y, stored);
  const Point b = StoredPixelOf(orientation, shown.x + shown.w - 1, shown.y + shown.h - 1, stored);
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(a.x - b.x) + 1, std::abs(a.y - b.y) + 1};
}

}  // namespace qr
