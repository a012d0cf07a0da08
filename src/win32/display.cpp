// The display read from the system: monitors, rectangles, resolutions.
#include "win32/display.h"

#include <windows.h>

#include <algorithm>
#include <future>
#include <mutex>

#include "win32/handles.h"
#include "win32/run_time_function.h"
#include "win32/text.h"

namespace qr::win {

namespace {

// Asked from more than one thread (a bitmap's table is drawn beside its bands): every use holds the lock.
struct DisplayCache {
  std::mutex lock;
  std::optional<DisplayLayout> read;
  std::optional<DisplayLayout> overridden;
  std::future<DisplayLayout> reading;  // StartReadingDisplay's, until CurrentDisplay takes it
};

DisplayCache& Cache() {
  static DisplayCache cache;
  return cache;
}

int SessionDpi() {
  const WindowDc screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : kDesignPixelsPerInch;
  return dpi > 0 ? dpi : kDesignPixelsPerInch;
}

// GetDpiForMonitor (Windows 8.1 and later), looked up at run time; the session's resolution without it.
int MonitorDpi(HMONITOR monitor, int sessionDpi) {
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto getDpi =
      RunTimeFunction<std::remove_pointer_t<GetDpiForMonitorFn>>(L"shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (getDpi && SUCCEEDED(getDpi(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) && y > 0)
    return static_cast<int>(y);
  return sessionDpi;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto& layout = *reinterpret_cast<DisplayLayout*>(data);
  MONITORINFOEXW info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  MonitorInfo added{{r.left, r.top, r.right - r.left, r.bottom - r.top},
                    MonitorDpi(monitor, layout.systemDpi),
                    (info.dwFlags & MONITORINFOF_PRIMARY) != 0,
                    Utf8(info.szDevice)};
  layout.monitors.push_back(std::move(added));
  return TRUE;
}

}  // namespace

DisplayLayout ReadDisplayLayout() {
  DisplayLayout layout;
  layout.systemDpi = SessionDpi();
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&layout));
  // The primary first; the others in the system's order.
  std::stable_partition(layout.monitors.begin(), layout.monitors.end(),
                        [](const MonitorInfo& m) { return m.primary; });
  if (layout.monitors.empty()) {
    layout.monitors.push_back(
        {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, layout.systemDpi, true, {}});
  }
  return layout;
}

void StartReadingDisplay() {
  DisplayCache& cache = Cache();
  const std::lock_guard hold(cache.lock);
  if (cache.read || cache.reading.valid()) return;
  // Where no thread can be started, the display is read when it is first asked for, as without this.
  cache.reading = std::async(std::launch::async | std::launch::deferred, ReadDisplayLayout);
}

DisplayLayout CurrentDisplay() {
  DisplayCache& cache = Cache();
  const std::lock_guard hold(cache.lock);
  if (cache.overridden) return *cache.overridden;
  if (!cache.read) cache.read = cache.reading.valid() ? cache.reading.get() : ReadDisplayLayout();
  return *cache.read;
}

void InvalidateDisplay() {
  DisplayCache& cache = Cache();
  const std::lock_guard hold(cache.lock);
  if (cache.reading.valid()) cache.reading.get();  // read before the change: of no use
  cache.read.reset();
}

void OverrideDisplay(std::optional<DisplayLayout> layout) {
  DisplayCache& cache = Cache();
  const std::lock_guard hold(cache.lock);
  cache.overridden = std::move(layout);
}

}  // namespace qr::win
