#pragma once
// The one installation of a wallpaper, used by the create command, "/render … /set", "/refresh" and the
// watcher: a job rendered and written (wallpaper/write_files.h), installed (wallpaper/install_files.h) and
// remembered (wallpaper/remember.h), in the same style and roll whoever asks.
//
//   InstallSteps steps{WallpaperBitmapPath()};
//   const InstallOutcome outcome = InstallWallpaper(job, steps);
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/last_wallpaper.h"
#include "core/wallpaper_job.h"
#include "wallpaper/write_files.h"
#include "win32/wallpaper.h"

namespace qr {

struct InstallSteps {
  // Where the bitmaps are written: the primary's (or the only) file; the others' lie beside it.
  std::string path;
  // The system's per-monitor wallpapers; nullptr: the system's own, asked for only with several monitors.
  win::MonitorWallpapers* perMonitor = nullptr;
  // Called once the bitmaps are written: the name the primary's file is installed under (the caller may
  // have moved it there), or nothing to stop without installing. Empty: installed at `path`.
  std::function<std::optional<std::string>(const WallpaperFiles& files)> written;
  // The primary's picture is kept in the written files' `primary` (to be shown), not only written.
  bool keepPrimary = false;
  // For a new wallpaper drawn over the current one: its files are kept beside the remembered wallpaper
  // first (PreserveCurrentWallpaper), since installing may replace them.
  bool keepCurrentWallpaper = false;
  // A remembered wallpaper made again: it is remembered with its new display and files, keeping what it
  // was made from and when. Nothing: the job is remembered as a new wallpaper.
  std::optional<LastWallpaper> refreshing;
};

struct InstallOutcome {
  enum class Result { Installed, NotWritten, NotInstalled, Stopped };
  Result result = Result::NotWritten;
  std::optional<WallpaperFiles> files;  // what was written, whether installed or not
  std::vector<std::string> installed;   // the files installed, the primary's under its final name
  bool remembered = false;              // the snapshot for "/refresh" and the watcher was saved
  bool ok() const { return result == Result::Installed; }
};

// Renders the job, writes its bitmaps, installs them and remembers what was installed.
InstallOutcome InstallWallpaper(const WallpaperJob& job, const InstallSteps& steps);

}  // namespace qr
