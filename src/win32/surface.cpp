// Off-screen surfaces: device-independent bitmaps with a memory DC.
#include "win32/surface.h"

#include <algorithm>
#include <utility>

namespace qr::win {

HBITMAP CreateDibSection(int width, int height, WORD bitsPerPixel, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bitsPerPixel;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

Surface::Surface(int width, int height, COLORREF fill) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  void* bits = nullptr;
  // A zero-sized DIB cannot be created; an empty surface still gets a 1x1 bitmap so that its DC works.
  // Negative height: top-down.
  Bitmap bitmap(CreateDibSection(std::max(width, 1), -std::max(height, 1), 32, &bits));
  MemoryDc dc(CreateCompatibleDC(nullptr));
  if (!bitmap || !dc || !bits) return;
  oldBitmap_ = SelectObject(dc.get(), bitmap.get());
  dc_ = std::move(dc);
  bitmap_ = std::move(bitmap);
  bits_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;
  // A new DIB section's memory is fresh virtual memory, zeroed by the system: black needs no pass over
  // it (a screen-sized surface is tens of megabytes).
  if (fill != RGB(0, 0, 0)) Fill(fill);
}

// A moved-from surface is empty: its size and pixel pointer must not outlive the bitmap it gave away.
Surface::Surface(Surface&& o) noexcept { *this = std::move(o); }

Surface& Surface::operator=(Surface&& o) noexcept {
  if (this != &o) {
    Release();
    width_ = std::exchange(o.width_, 0);
    height_ = std::exchange(o.height_, 0);
    dc_ = std::move(o.dc_);
    bitmap_ = std::move(o.bitmap_);
    oldBitmap_ = std::exchange(o.oldBitmap_, nullptr);
    bits_ = std::exchange(o.bits_, nullptr);
  }
  return *this;
}

Surface::~Surface() { Release(); }

void Surface::Release() {
  // The bitmap must leave the DC before either is deleted.
  if (dc_ && oldBitmap_) SelectObject(dc_.get(), oldBitmap_);
  oldBitmap_ = nullptr;
  dc_.reset();
  bitmap_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
}

void Surface::Fill(COLORREF colour) {
  if (!ok()) return;
  GdiFlush();
  const uint32_t word = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  std::fill_n(bits_, static_cast<size_t>(std::max(width_, 1)) * std::max(height_, 1), word);
}

COLORREF Surface::Pixel(int x, int y) const {
  if (!ok() || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  const uint32_t word = bits_[static_cast<size_t>(y) * width_ + x];
  return RGB((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF);
}

void Surface::Resize(int width, int height, COLORREF fill) {
  if (width == width_ && height == height_ && ok()) return;
  Surface next(width, height, fill);
  if (!next.ok()) return;
  if (ok()) BitBlt(next.dc(), 0, 0, std::min(width, width_), std::min(height, height_), dc(), 0, 0, SRCCOPY);
  *this = std::move(next);
}

}  // namespace qr::win
