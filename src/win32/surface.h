#pragma once
// An off-screen drawing surface: a memory DC holding a top-down 32-bit DIB section whose pixels can be
// read directly. Picture boxes keep their persistent image in one; the canvas composes into one.
#include <windows.h>

#include <cstdint>

#include "win32/handles.h"

namespace qr::win {

// A device-independent bitmap of width x |height| pixels at `bitsPerPixel` (BI_RGB), bottom-up for a
// positive height and top-down for a negative one, its pixels at *bits; null when it cannot be made.
HBITMAP CreateDibSection(int width, int height, WORD bitsPerPixel, void** bits);

class Surface {
 public:
  Surface() = default;
  // A surface of width x height pixels (either may be 0: an empty surface), filled with `fill`
  // (0x00BBGGRR). Fails (empty, !ok()) when the bitmap cannot be created.
  Surface(int width, int height, COLORREF fill = RGB(0, 0, 0));
  Surface(Surface&& o) noexcept;
  Surface& operator=(Surface&&) noexcept;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  ~Surface();

  bool ok() const { return dc_ != nullptr && bits_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }

  void Fill(COLORREF colour);
  // The colour of one pixel as 0x00BBGGRR; 0 outside the surface.
  COLORREF Pixel(int x, int y) const;
  // Row-major 0x00RRGGBB words, `width()` per row, top row first.
  const uint32_t* Bits() const { return bits_; }
  uint32_t* Bits() { return bits_; }

  // Resizes, keeping what fits of the old image (like a picture box whose size changes).
  void Resize(int width, int height, COLORREF fill);

 private:
  void Release();

  int width_ = 0;
  int height_ = 0;
  MemoryDc dc_;
  Bitmap bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
};

}  // namespace qr::win
