#pragma once
// Pictures (shared, immutable images), fonts and colours as the controls use them.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "win32/fonts.h"
#include "win32/handles.h"
#include "win32/surface.h"

namespace qr::forms {

// An image that controls share: assigning one control's picture to another shares the pixels.
// Pixels of the transparent colour, when it is set, let the background show through.
class Picture {
 public:
  Picture() = default;
  static Picture FromSurface(win::Surface&& pixels, std::optional<COLORREF> transparent = std::nullopt);
  // A bitmap resource of the program; pure magenta (255, 0, 255) pixels in it are transparent.
  static Picture FromResource(int resourceId);
  // A copy of the bitmap's pixels.
  static Picture FromBitmap(HBITMAP bitmap, std::optional<COLORREF> transparent = std::nullopt);

  explicit operator bool() const { return data_ != nullptr; }
  int Width() const { return data_ ? data_->pixels.width() : 0; }
  int Height() const { return data_ ? data_->pixels.height() : 0; }
  // A DC holding the pixels, usable as a BitBlt source; nullptr for no picture.
  HDC Dc() const { return data_ ? data_->pixels.dc() : nullptr; }
  const win::Surface* Pixels() const { return data_ ? &data_->pixels : nullptr; }

  // The picture at `dpi` for its design size at 96: smoothly resampled (halftone), made once per
  // resolution and kept with the picture; transparent pixels stay exactly transparent. The picture itself
  // at 96.
  Picture ForDpi(int dpi) const;

  // Draws the picture scaled to w x h at (x, y) (rows and columns dropped or repeated, not blended).
  void Draw(HDC dc, int x, int y, int w, int h) const;
  void Draw(HDC dc, int x, int y) const { Draw(dc, x, y, Width(), Height()); }

  // Same image (not merely equal pixels).
  bool operator==(const Picture& o) const { return data_ == o.data_; }

 private:
  struct Data {
    win::Surface pixels;
    std::optional<COLORREF> transparent;
    mutable std::vector<std::pair<int, std::shared_ptr<const Data>>> scaled;  // by resolution
  };
  std::shared_ptr<const Data> data_;
};

inline constexpr COLORREF kMagenta = RGB(255, 0, 255);

// A colour as the program stores it: 0x00BBGGRR, or 0x80000000 + n for the system colour n (the
// program's one resolver, win::ResolveColour).
inline COLORREF ResolveColour(COLORREF colour) { return win::ResolveColour(colour); }

using FontSpec = win::FontSpec;

// The caption font of every window: "ＭＳ Ｐゴシック" 9.75 pt, Shift-JIS.
FontSpec CaptionFont();
// A GDI font of that description at `dpi` (0: the screen's resolution), by the program's one font
// maker, win::MakeFont.
inline win::Font CreateFontFor(const FontSpec& font, int dpi = 0) { return win::MakeFont(font, dpi); }

}  // namespace qr::forms
