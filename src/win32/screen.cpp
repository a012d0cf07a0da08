// Screen metrics and display scaling of windows.
#include "win32/screen.h"

#include "win32/display.h"
#include "win32/run_time_function.h"

namespace qr::win {

ScreenMetrics ScreenMetricsOf(const DisplayLayout& display) {
  ScreenMetrics m;
  m.twipsPerPixelX = m.twipsPerPixelY = display.TwipsPerPixel();
  const Size primary = display.PrimarySize();
  m.widthPx = primary.w;
  m.heightPx = primary.h;
  m.widthTwips = m.widthPx * m.twipsPerPixelX;
  m.heightTwips = m.heightPx * m.twipsPerPixelY;
  return m;
}

ScreenMetrics GetScreenMetrics() { return ScreenMetricsOf(CurrentDisplay()); }

int SystemDpi() { return CurrentDisplay().systemDpi; }

namespace {

// Functions of newer systems, looked up at run time so that the program still starts without them.
template <typename Pointer>
Pointer User32Function(const char* name) {
  return RunTimeFunction<std::remove_pointer_t<Pointer>>(L"user32.dll", name);
}

}  // namespace

int WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (window && getDpiForWindow) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int ScaleToDpi(int value, int dpi) { return dpi == kDesignDpi ? value : MulDiv(value, dpi, kDesignDpi); }

void EnableDpiAwareness() {
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  using SetAwareFn = BOOL(WINAPI*)();
  const auto setContext = User32Function<SetContextFn>("SetProcessDpiAwarenessContext");
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 is ((HANDLE)-4).
  if (setContext && setContext(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)))) return;
  if (const auto setAware = User32Function<SetAwareFn>("SetProcessDPIAware")) setAware();
}

std::optional<POINT> CursorPos() {
  POINT p{};
  if (!GetCursorPos(&p)) return std::nullopt;
  return p;
}

std::optional<RECT> WorkAreaOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) return std::nullopt;
  return info.rcWork;
}

}  // namespace qr::win
