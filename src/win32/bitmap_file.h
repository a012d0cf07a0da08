#pragma once
// Windows bitmap files written from a Surface.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "win32/handles.h"
#include "win32/surface.h"

namespace qr::win {

// Writes the surface as a 24-bit uncompressed Windows bitmap (bottom-up rows, each padded to four
// bytes). The file is written beside the target under a temporary name and moved over the target only
// when complete, so on failure (false) an existing file of that name is left as it was.
bool WriteBitmapFile(const Surface& image, const std::string& path);

// The bytes of one row of a 24-bit bitmap file `width` pixels wide (padded to four bytes).
size_t BitmapRowBytes(int width);

// The same file for a picture of width x height that is never held whole: `fill` is given each band of
// rows, from the bottom of the picture up, as its top row, its row count and a buffer of that many rows,
// top-down and `rowBytes` apart, to fill with the rows as the file holds them (BGR, padded). False when
// `fill` or the writing fails; an existing file of that name is then left as it was.
using BandFiller = std::function<bool(int top, int count, uint8_t* rows, size_t rowBytes)>;
bool WriteBitmapFileInBands(const std::string& path, int width, int height, const BandFiller& fill);

// A 24-bit bitmap in memory laid out as a bitmap file's pixels (bottom-up rows, each padded to four
// bytes), with a DC to draw on it: copied to one another, such bitmaps copy rows, not convert pixels.
class FileLayoutBitmap {
 public:
  FileLayoutBitmap(int width, int height);  // empty (!ok()) when it cannot be made
  FileLayoutBitmap(const FileLayoutBitmap&) = delete;
  FileLayoutBitmap& operator=(const FileLayoutBitmap&) = delete;
  ~FileLayoutBitmap();
  bool ok() const { return bits_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  HDC dc() const { return dc_.get(); }
  // The file's bytes of the top `count` rows (drawn at y 0 .. count - 1), their padding zeroed.
  std::string_view TopRows(int count);

 private:
  Bitmap bitmap_;  // declared first, deleted last: after the DC it was selected into
  MemoryDc dc_;
  HGDIOBJ old_ = nullptr;
  BYTE* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

// The same file for a picture painted a band at a time into one bitmap as wide as the picture and a chunk
// of it high, reused, whose pixels are the file's own (24-bit): `paint` is given its DC, the picture's
// row its top shows and how many rows it has, from the bottom of the picture up. False when `paint` or the
// writing fails; an existing file of that name is then left as it was.
using BandPainter = std::function<bool(HDC band, int top, int rows)>;
bool WriteBitmapFilePainted(const std::string& path, int width, int height, const BandPainter& paint);

// Reads rows of a bitmap file as WriteBitmapFile writes it (24-bit, bottom-up), band by band.
class BitmapFileRows {
 public:
  // Nothing for a file that is missing or not such a bitmap.
  static std::optional<BitmapFileRows> Open(const std::string& path);
  int width() const { return width_; }
  int height() const { return height_; }
  // Rows [top, top + count) top-down into `rows`, `rowBytes` apart; false when they cannot be read.
  bool Read(int top, int count, uint8_t* rows, size_t rowBytes) const;

 private:
  BitmapFileRows(File file, int width, int height, uint32_t offset)
      : file_(std::move(file)), width_(width), height_(height), offset_(offset) {}
  File file_;
  int width_ = 0, height_ = 0;
  uint32_t offset_ = 0;
};

}  // namespace qr::win
