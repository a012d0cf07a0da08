// Written wallpaper bitmaps installed: one file, per monitor centred, or spanned or tiled.
#include "wallpaper/install_files.h"

#include <vector>

namespace qr {

namespace {

// The system's id for the monitor at `rect` (matched by its rectangle), or empty.
std::string MonitorId(const std::vector<win::MonitorWallpapers::Monitor>& known, const Rect& rect) {
  for (const auto& monitor : known)
    if (monitor.rect == rect) return monitor.id;
  return {};
}

}  // namespace

bool InstallWallpaperFiles(const WallpaperFiles& files, const WallpaperJob& job,
                           const std::string& primaryPath, win::MonitorWallpapers* perMonitor) {
  switch (files.kind) {
    case WallpaperFiles::Kind::Single:
      return win::SetDesktopWallpaper(primaryPath);
    case WallpaperFiles::Kind::Spanned:
      return win::SetSpannedWallpaper(primaryPath, files.spanStyle);
    case WallpaperFiles::Kind::PerMonitor:
      break;
  }
  if (!perMonitor) return false;
  const auto known = perMonitor->Monitors();
  bool all = true;
  for (size_t i = 0; i < files.paths.size() && i < job.display.monitors.size(); ++i) {
    const MonitorInfo& monitor = job.display.monitors[i];
    const std::string id = MonitorId(known, monitor.rect);
    const std::string& file = i == job.display.PrimaryIndex() ? primaryPath : files.paths[i];
    all = !id.empty() && perMonitor->SetWallpaper(id, file) && all;
  }
  return perMonitor->ShowCentred() && all;
}

}  // namespace qr
