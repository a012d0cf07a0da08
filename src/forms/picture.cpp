#include "forms/picture.h"

#include <cmath>
#include <utility>

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

void Picture::Draw(HDC dc, int x, int y, int w, int h) const {
  if (!data_ || w <= 0 || h <= 0) return;
  const win::Surface& s = data_->pixels;
  if (data_->transparent) {
    TransparentBlt(dc, x, y, w, h, s.dc(), 0, 0, s.width(), s.height(), *data_->transparent);
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
