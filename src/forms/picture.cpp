// Pictures, fonts and colours as the controls use them.
#include "forms/picture.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "win32/screen.h"
#include "win32/text.h"

namespace qr::forms {

Picture Picture::FromSurface(win::Surface&& pixels, std::optional<COLORREF> transparent) {
  Picture p;
  if (!pixels.ok()) return p;
  auto data = std::make_shared<Data>();
  data->pixels = std::move(pixels);
  data->transparent = transparent;
  p.data_ = std::move(data);
  return p;
}

namespace {

win::Surface CopyOfBitmap(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return {};
  win::Surface pixels(info.bmWidth, std::abs(info.bmHeight));
  win::MemoryDc source(CreateCompatibleDC(nullptr));
  if (!pixels.ok() || !source) return {};
  win::Selection select(source.get(), bitmap);
  BitBlt(pixels.dc(), 0, 0, pixels.width(), pixels.height(), source.get(), 0, 0, SRCCOPY);
  GdiFlush();
  return pixels;
}

bool HasMagenta(const win::Surface& s) {
  const uint32_t* bits = s.Bits();
  const size_t count = static_cast<size_t>(s.width()) * s.height();
  for (size_t i = 0; i < count; ++i) {
    if ((bits[i] & 0xFFFFFF) == 0xFF00FF) return true;
  }
  return false;
}

}  // namespace

Picture Picture::FromBitmap(HBITMAP bitmap, std::optional<COLORREF> transparent) {
  return FromSurface(CopyOfBitmap(bitmap), transparent);
}

Picture Picture::FromResource(int resourceId) {
  win::Bitmap bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  win::Surface pixels = CopyOfBitmap(bitmap.get());
  if (!pixels.ok()) return {};
  const bool keyed = HasMagenta(pixels);
  return FromSurface(std::move(pixels), keyed ? std::optional<COLORREF>(kMagenta) : std::nullopt);
}

namespace {

// The key colour as the surface's pixels hold it (0x00RRGGBB).
uint32_t PixelOf(COLORREF colour) {
  return (uint32_t{GetRValue(colour)} << 16) | (uint32_t{GetGValue(colour)} << 8) | GetBValue(colour);
}

// A copy whose transparent pixels take the colour of an opaque neighbour (spreading a few pixels), so
// that smooth resampling does not blend the key colour into the picture's edges.
win::Surface WithoutKeyFringe(const win::Surface& source, uint32_t key) {
  const int w = source.width(), h = source.height();
  win::Surface out(w, h);
  if (!out.ok()) return out;
  BitBlt(out.dc(), 0, 0, w, h, source.dc(), 0, 0, SRCCOPY);
  GdiFlush();
  uint32_t* bits = out.Bits();
  std::vector<char> open(static_cast<size_t>(w) * h);
  for (size_t i = 0; i < open.size(); ++i) open[i] = (bits[i] & 0xFFFFFF) == key;
  for (int pass = 0; pass < 4; ++pass) {
    std::vector<char> next = open;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const size_t i = static_cast<size_t>(y) * w + x;
        if (!open[i]) continue;
        for (const auto& [dx, dy] : {std::pair{-1, 0}, std::pair{1, 0}, std::pair{0, -1}, std::pair{0, 1}}) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
          const size_t n = static_cast<size_t>(ny) * w + nx;
          if (open[n]) continue;
          bits[i] = bits[n];
          next[i] = 0;
          break;
        }
      }
    }
    open.swap(next);
  }
  return out;
}

// Halftone resampling; where the picture has a transparent colour, its edges are resampled without it
// and the pixels that plain resampling puts on the key are set back to it exactly.
win::Surface Resampled(const win::Surface& source, int w, int h, std::optional<COLORREF> transparent) {
  win::Surface out(w, h);
  if (!out.ok()) return out;
  const uint32_t key = transparent ? PixelOf(*transparent) : 0;
  const win::Surface bled = transparent ? WithoutKeyFringe(source, key) : win::Surface();
  const win::Surface& smooth = bled.ok() ? bled : source;
  SetStretchBltMode(out.dc(), HALFTONE);
  SetBrushOrgEx(out.dc(), 0, 0, nullptr);
  StretchBlt(out.dc(), 0, 0, w, h, smooth.dc(), 0, 0, smooth.width(), smooth.height(), SRCCOPY);
  if (!transparent) return out;
  win::Surface plain(w, h);
  if (!plain.ok()) return out;
  SetStretchBltMode(plain.dc(), COLORONCOLOR);
  StretchBlt(plain.dc(), 0, 0, w, h, source.dc(), 0, 0, source.width(), source.height(), SRCCOPY);
  GdiFlush();
  uint32_t* bits = out.Bits();
  const uint32_t* keyed = plain.Bits();
  const size_t count = static_cast<size_t>(w) * h;
  for (size_t i = 0; i < count; ++i) {
    const bool transparentHere = (keyed[i] & 0xFFFFFF) == key;
    if (transparentHere || (bits[i] & 0xFFFFFF) == key) bits[i] = transparentHere ? key : bits[i] ^ 1;
  }
  return out;
}

}  // namespace

Picture Picture::ForDpi(int dpi) const {
  if (!data_ || dpi == win::kDesignDpi || dpi <= 0) return *this;
  Picture p;
  for (const auto& [at, scaled] : data_->scaled) {
    if (at == dpi) {
      p.data_ = scaled;
      return p;
    }
  }
  const int w = std::max(1, win::ScaleToDpi(Width(), dpi));
  const int h = std::max(1, win::ScaleToDpi(Height(), dpi));
  win::Surface pixels = Resampled(data_->pixels, w, h, data_->transparent);
  if (!pixels.ok()) return *this;
  auto data = std::make_shared<Data>();
  data->pixels = std::move(pixels);
  data->transparent = data_->transparent;
  data_->scaled.emplace_back(dpi, data);
  p.data_ = std::move(data);
  return p;
}

void Picture::Draw(HDC dc, int x, int y, int w, int h) const {
  if (!data_ || w <= 0 || h <= 0) return;
  const win::Surface& s = data_->pixels;
  if (data_->transparent) {
    GdiTransparentBlt(dc, x, y, w, h, s.dc(), 0, 0, s.width(), s.height(), *data_->transparent);
  } else if (w == s.width() && h == s.height()) {
    BitBlt(dc, x, y, w, h, s.dc(), 0, 0, SRCCOPY);
  } else {
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, w, h, s.dc(), 0, 0, s.width(), s.height(), SRCCOPY);
    SetStretchBltMode(dc, oldMode);
  }
}

FontSpec CaptionFont() {
  FontSpec font;
  font.name = "ＭＳ Ｐゴシック";
  font.size = 9.75;
  font.charset = SHIFTJIS_CHARSET;
  return font;
}

}  // namespace qr::forms
