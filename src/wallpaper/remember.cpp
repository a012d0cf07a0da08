// The last wallpaper remembered and read back, and the current wallpaper kept for it.
#include "wallpaper/remember.h"

#include <windows.h>

#include "core/paths.h"
#include "shared/fixed_files.h"
#include "win32/files.h"

namespace qr {

namespace {

uint64_t Now() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

bool SaveLastWallpaper(const LastWallpaper& last) {
  const std::string path = LastWallpaperPath();
  return !path.empty() && win::ReplaceFileContents(path, EncodeLastWallpaper(last));
}

}  // namespace

void PreserveCurrentWallpaper(WallpaperJob& job) {
  JobBackground& background = job.background;
  if (background.kind != BackgroundKind::CurrentWallpaper) return;
  const auto current = win::GetCurrentWallpaper();
  std::vector<std::string> files = background.monitorWallpapers;
  if (files.empty() && current) files.push_back(current->path);
  const std::string base = LastWallpaperPath();
  if (files.empty() || base.empty()) return;
  for (size_t i = 0; i < files.size(); ++i) {
    if (files[i].empty()) continue;
    const std::string copy =
        base + ".background" + std::to_string(i + 1) + files[i].substr(ExtensionDot(files[i]));
    if (CopyFileW(win::ApiPath(files[i]).c_str(), win::ApiPath(copy).c_str(), FALSE)) files[i] = copy;
  }
  background.monitorWallpapers = files;
  background.wallpaperStyle =
      static_cast<int16_t>(current ? current->style : win::CurrentWallpaper::Style::Centre);
}

std::vector<std::string> InstalledPaths(const WallpaperFiles& files, const WallpaperJob& job,
                                        const std::string& primaryPath) {
  std::vector<std::string> paths = files.paths;
  const size_t primary = files.kind == WallpaperFiles::Kind::PerMonitor ? job.display.PrimaryIndex() : 0;
  if (primary < paths.size()) paths[primary] = primaryPath;
  return paths;
}

bool RememberLastWallpaper(const WallpaperJob& job, const std::vector<std::string>& installed) {
  return SaveLastWallpaper(LastWallpaperOf(job, installed, Now()));
}

bool RememberRefreshed(LastWallpaper last, const WallpaperJob& job,
                       const std::vector<std::string>& installed) {
  last.renderedFor = job.display;
  last.installed = installed;
  return SaveLastWallpaper(last);
}

std::optional<LastWallpaper> LoadLastWallpaper() {
  const std::string path = LastWallpaperPath();
  if (path.empty()) return std::nullopt;
  const auto bytes = win::ReadFileBytes(path, kMaxLastWallpaperBytes);
  return bytes ? DecodeLastWallpaper(*bytes) : std::nullopt;
}

}  // namespace qr
