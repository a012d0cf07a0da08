// The last wallpaper remembered and read back, and the current wallpaper kept for it.
#include "wallpaper/remember.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "core/paths.h"
#include "core/shown_wallpaper.h"
#include "shared/fixed_files.h"
#include "win32/files.h"

namespace qr {

namespace {

uint64_t Now() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

std::string StaleMarkPath(const std::string& path) { return path + ".stale"; }

bool SaveLastWallpaper(const LastWallpaper& last) {
  const std::string path = LastWallpaperPath();
  if (path.empty() || !win::ReplaceFileContents(path, EncodeLastWallpaper(last))) return false;
  win::DeletePath(StaleMarkPath(path));  // this snapshot is the current one again
  return true;
}

}  // namespace

void PreserveCurrentWallpaper(WallpaperJob& job) {
  JobBackground& background = job.background;
  if (background.kind != BackgroundKind::CurrentWallpaper) return;
  const auto current = win::GetCurrentWallpaper();
  // The program's own wallpaper shown now is no background: what it was drawn over is, kept beside the
  // snapshot (else each new wallpaper would be drawn over the last, a panel darkening every time).
  const auto last = current ? LoadLastWallpaper() : std::nullopt;
  if (last && last->background.kind == BackgroundKind::CurrentWallpaper &&
      !last->background.monitorWallpapers.empty() &&
      JudgeShownWallpaper({}, {current->path}, last->installed, win::SamePath) == ShownWallpaper::Ours) {
    background.monitorWallpapers = last->background.monitorWallpapers;
    background.wallpaperStyle = last->background.wallpaperStyle;
    return;
  }
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

std::vector<FileStamp> InstalledStamps(const std::vector<std::string>& installed) {
  std::vector<FileStamp> stamps;
  for (const std::string& file : installed) stamps.push_back(win::FileStampOf(file).value_or(FileStamp{}));
  return stamps;
}

bool RememberLastWallpaper(const WallpaperJob& job, const std::vector<std::string>& installed,
                           std::vector<FileStamp> stamps) {
  LastWallpaper last = LastWallpaperOf(job, installed, Now());
  last.installedStamps = std::move(stamps);
  return SaveLastWallpaper(last);
}

bool RememberRefreshed(LastWallpaper last, const WallpaperJob& job, const std::vector<std::string>& installed,
                       std::vector<FileStamp> stamps) {
  last.renderedFor = job.display;
  last.installed = installed;
  last.installedStamps = std::move(stamps);
  return SaveLastWallpaper(last);
}

bool IsOfInstalledWallpaper(const LastWallpaper& last) {
  // Another wallpaper written over an installed file since (a snapshot that could not be saved then).
  for (size_t i = 0; i < last.installedStamps.size() && i < last.installed.size(); ++i) {
    const auto now = win::FileStampOf(last.installed[i]);
    if (now && *now != last.installedStamps[i]) return false;
  }
  // Another file installed since: no source names one of the snapshot's. A source a process keeps its
  // first answer of (Wine's system call in the long-running watcher) may lag; one read afresh does not.
  const WallpaperReports reports = win::ReportedWallpapers();
  return std::any_of(reports.begin(), reports.end(), [&](const std::string& report) {
    return std::any_of(last.installed.begin(), last.installed.end(), [&](const std::string& file) {
      return !report.empty() && win::SamePath(report, file);
    });
  });
}

std::optional<LastWallpaper> LoadLastWallpaper() {
  const std::string path = LastWallpaperPath();
  if (path.empty() || win::PathIsPresent(StaleMarkPath(path))) return std::nullopt;
  const auto bytes = win::ReadFileBytes(path, kMaxLastWallpaperBytes);
  return bytes ? DecodeLastWallpaper(*bytes) : std::nullopt;
}

bool LastWallpaperDamaged() {
  const std::string path = LastWallpaperPath();
  if (path.empty() || win::PathIsPresent(StaleMarkPath(path)) || !win::PathIsPresent(path)) return false;
  const auto bytes = win::ReadFileBytes(path, kMaxLastWallpaperBytes);
  return !bytes || !DecodeLastWallpaper(*bytes);
}

bool ForgetLastWallpaper() {
  const std::string path = LastWallpaperPath();
  if (path.empty()) return false;
  const std::wstring wide = win::ApiPath(path);
  if (DeleteFileW(wide.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return true;
  return win::ReplaceFileContents(StaleMarkPath(path), "stale\r\n");
}

}  // namespace qr
