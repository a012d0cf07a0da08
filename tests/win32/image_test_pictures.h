#pragma once
// Pictures for the imaging and composer tests: surfaces with four distinct quadrant colours, written as
// bitmap or JPEG files, and pixel comparisons.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "win32/bitmap_file.h"
#include "win32/com.h"
#include "win32/files.h"
#include "win32/image.h"
#include "win32/surface.h"

namespace qr::test {

struct Quadrants {
  COLORREF topLeft = RGB(255, 0, 0);
  COLORREF topRight = RGB(0, 255, 0);
  COLORREF bottomLeft = RGB(0, 0, 255);
  COLORREF bottomRight = RGB(255, 255, 0);
};

inline uint32_t Word(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// A w x h picture whose left half is columns [0, w/2) and top half rows [0, h/2).
inline win::Surface QuadrantPicture(int w, int h, const Quadrants& q = {}) {
  win::Surface s(w, h);
  GdiFlush();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool left = x < w / 2, top = y < h / 2;
      const COLORREF c = top ? (left ? q.topLeft : q.topRight) : (left ? q.bottomLeft : q.bottomRight);
      s.Bits()[static_cast<size_t>(y) * w + x] = Word(c);
    }
  return s;
}

inline bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Number of pixels in the rectangle that differ from `colour`.
inline int CountOther(const win::Surface& s, int x0, int y0, int w, int h, COLORREF colour) {
  int count = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x)
      if (s.Pixel(x, y) != colour) ++count;
  return count;
}

// Number of pixels that differ between two surfaces of the same size (all of them when sizes differ).
inline int64_t CountDifferences(const win::Surface& a, const win::Surface& b) {
  if (a.width() != b.width() || a.height() != b.height()) return int64_t{a.width()} * a.height() + 1;
  GdiFlush();
  int64_t count = 0;
  const size_t n = static_cast<size_t>(a.width()) * a.height();
  for (size_t i = 0; i < n; ++i)
    if ((a.Bits()[i] & 0xFFFFFF) != (b.Bits()[i] & 0xFFFFFF)) ++count;
  return count;
}

// A w x h PNG of straight (not premultiplied) 0xAARRGGBB pixels, row by row, written with the system's
// encoder.
inline bool WritePngPixels(int w, int h, const std::vector<uint32_t>& argb, const std::string& path) {
  win::ComApartment com;
  win::ComPtr<IWICImagingFactory> factory;
  win::ComPtr<IWICStream> stream;
  win::ComPtr<IWICBitmapEncoder> encoder;
  win::ComPtr<IWICBitmapFrameEncode> frame;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  const UINT stride = static_cast<UINT>(w) * 4;
  std::vector<uint32_t> pixels = argb;
  return com.ok() && argb.size() == static_cast<size_t>(w) * h &&
         SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(factory.GetAddressOf()))) &&
         SUCCEEDED(factory->CreateStream(stream.GetAddressOf())) &&
         SUCCEEDED(stream->InitializeFromFilename(win::ApiPath(path).c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.GetAddressOf())) &&
         SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(frame.GetAddressOf(), nullptr)) &&
         SUCCEEDED(frame->Initialize(nullptr)) &&
         SUCCEEDED(frame->SetSize(static_cast<UINT>(w), static_cast<UINT>(h))) &&
         SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA) &&
         SUCCEEDED(frame->WritePixels(static_cast<UINT>(h), stride, stride * static_cast<UINT>(h),
                                      reinterpret_cast<BYTE*>(pixels.data()))) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// A bitmap file header that claims width x height 24-bit pixels but carries no pixel data.
inline std::string ClaimedBitmap(int32_t width, int32_t height) {
  std::string bytes(54, '\0');
  auto put = [&](size_t at, auto value) { std::memcpy(bytes.data() + at, &value, sizeof(value)); };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(2, uint32_t{54});
  put(10, uint32_t{54});
  put(14, uint32_t{40});
  put(18, width);
  put(22, height);
  put(26, uint16_t{1});
  put(28, uint16_t{24});
  return bytes;
}

}  // namespace qr::test
