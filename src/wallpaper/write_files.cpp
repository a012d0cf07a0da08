// The wallpaper's bitmaps written: one file, one per monitor, or the virtual screen (rolled for tiling).
#include "wallpaper/write_files.h"

#include "core/paths.h"
#include "wallpaper/render.h"
#include "win32/bitmap_file.h"

namespace qr {

namespace {

bool WriteOne(const win::Surface& picture, const std::string& path) {
  return picture.ok() && win::WriteBitmapFile(picture, path);
}

std::string WithSeparator(const std::string& folder) {
  if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder;
  return folder + "\\";
}

std::optional<WallpaperFiles> WritePerMonitor(const WallpaperJob& job, const std::string& path) {
  WallpaperFiles files;
  files.kind = WallpaperFiles::Kind::PerMonitor;
  for (size_t i = 0; i < job.display.monitors.size(); ++i) {
    win::Surface picture = RenderMonitor(job, i);
    const bool primary = i == job.display.PrimaryIndex();
    const std::string file = primary ? path : MonitorBitmapPath(path, i + 1);
    if (!WriteOne(picture, file)) return std::nullopt;
    files.paths.push_back(file);
    if (primary) files.primary = std::move(picture);
  }
  return files;
}

std::optional<WallpaperFiles> WriteSpanned(const WallpaperJob& job, const std::string& path) {
  WallpaperFiles files;
  files.kind = WallpaperFiles::Kind::Spanned;
  files.spanStyle = win::SpanStyleOfThisSystem();
  const win::Surface span = RenderSpan(job);
  const Rect whole = job.display.VirtualScreen();
  const bool written = files.spanStyle == win::SpanStyle::Span
                           ? WriteOne(span, path)
                           : WriteOne(RollForTiling(span, {whole.x, whole.y}), path);
  if (!written) return std::nullopt;
  files.paths.push_back(path);
  files.primary = RenderWallpaper(job);
  return files;
}

}  // namespace

std::string MonitorBitmapPath(const std::string& primaryPath, size_t number) {
  const size_t at = ExtensionDot(primaryPath);
  return primaryPath.substr(0, at) + std::to_string(number) + primaryPath.substr(at);
}

std::optional<WallpaperFiles> WriteWallpaperFiles(const WallpaperJob& job, const std::string& path,
                                                  win::MonitorWallpapers* perMonitor) {
  if (job.display.monitors.size() <= 1) {
    WallpaperFiles files;
    files.primary = RenderWallpaper(job);
    if (!WriteOne(files.primary, path)) return std::nullopt;
    files.paths.push_back(path);
    return files;
  }
  return perMonitor ? WritePerMonitor(job, path) : WriteSpanned(job, path);
}

bool WriteLayoutFiles(const WallpaperJob& job, const std::string& folder) {
  const std::string base = WithSeparator(folder);
  for (size_t i = 0; i < job.display.monitors.size(); ++i)
    if (!WriteOne(RenderMonitor(job, i), base + "monitor" + std::to_string(i + 1) + ".bmp")) return false;
  return WriteOne(RenderSpan(job), base + "span.bmp");
}

}  // namespace qr
