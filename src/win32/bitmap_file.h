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

// The same file for a picture painted a band at a time into one surface as wide as the picture and a
// chunk of it high, reused: `paint` is given the surface and the picture's row its top shows, from the
// bottom of the picture up (the band's rows beyond the picture's last are not written). False when
// `paint` or the writing fails; an existing file of that name is then left as it was.
using SurfacePainter = std::function<bool(Surface& band, int top)>;
bool WriteBitmapFilePainted(const std::string& path, int width, int height, const SurfacePainter& paint);

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
