#pragma once
// The screen's size and its twips-per-pixel factors (a window's own position and size are in twips,
// 1/1440 inch), and the mouse position.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "core/display_layout.h"

namespace qr::win {

struct ScreenMetrics {
  double twipsPerPixelX = 15;  // 1440 / the screen's logical pixels per inch
  double twipsPerPixelY = 15;
  double widthTwips = 0;  // widthPx * twipsPerPixelX
  double heightTwips = 0;
  int32_t widthPx = 0;
  int32_t heightPx = 0;
};

// The primary monitor's size and the session's twips per pixel, from the display (win32/display.h).
ScreenMetrics ScreenMetricsOf(const DisplayLayout& display);
ScreenMetrics GetScreenMetrics();

// Display scaling. Design sizes are pixels at 96 dots per inch; a window shows them at its monitor's
// resolution.
inline constexpr int kDesignDpi = 96;
// The session's logical resolution (the primary monitor's when the session started).
int SystemDpi();
// The resolution of the monitor the window is on (the system's where per-monitor scaling is unknown).
int WindowDpi(HWND window);
// A design length at `dpi`: value * dpi / 96, rounded half away from zero.
int ScaleToDpi(int value, int dpi);
// Asks for per-monitor scaling where the manifest could not (older systems): per-monitor v2, else
// system-wide awareness. Harmless when the manifest already set it.
void EnableDpiAwareness();

// The work area (the screen less the task bar, in virtual-screen pixels) of the monitor the window is on,
// or nearest to; nothing when the system cannot tell.
std::optional<RECT> WorkAreaOf(HWND window);

// The cursor's screen position; nothing when it cannot be read (for example on a locked desktop).
std::optional<POINT> CursorPos();

}  // namespace qr::win
