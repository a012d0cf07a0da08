#pragma once
// The screen's size and its twips-per-pixel factors (a window's own position and size are in twips,
// 1/1440 inch), and the mouse position.
#include <windows.h>

#include <cstdint>
#include <optional>

namespace qr::win {

struct ScreenMetrics {
  double twipsPerPixelX = 15;  // 1440 / the screen's logical pixels per inch
  double twipsPerPixelY = 15;
  double widthTwips = 0;  // widthPx * twipsPerPixelX
  double heightTwips = 0;
  int32_t widthPx = 0;
  int32_t heightPx = 0;
};

ScreenMetrics GetScreenMetrics();

// The cursor's screen position; nothing when it cannot be read (for example on a locked desktop).
std::optional<POINT> CursorPos();

}  // namespace qr::win
