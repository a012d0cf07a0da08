#include "win32/screen.h"

#include "win32/handles.h"

namespace qr::win {

namespace {

constexpr double kTwipsPerInch = 1440.0;

double TwipsPerPixel(int pixelsPerInch) { return pixelsPerInch > 0 ? kTwipsPerInch / pixelsPerInch : 15.0; }

}  // namespace

ScreenMetrics GetScreenMetrics() {
  ScreenMetrics m;
  const WindowDc screen(nullptr);
  if (screen) {
    m.twipsPerPixelX = TwipsPerPixel(GetDeviceCaps(screen.get(), LOGPIXELSX));
    m.twipsPerPixelY = TwipsPerPixel(GetDeviceCaps(screen.get(), LOGPIXELSY));
  }
  m.widthPx = GetSystemMetrics(SM_CXSCREEN);
  m.heightPx = GetSystemMetrics(SM_CYSCREEN);
  m.widthTwips = m.widthPx * m.twipsPerPixelX;
  m.heightTwips = m.heightPx * m.twipsPerPixelY;
  return m;
}

std::optional<POINT> CursorPos() {
  POINT p{};
  if (!GetCursorPos(&p)) return std::nullopt;
  return p;
}

}  // namespace qr::win
