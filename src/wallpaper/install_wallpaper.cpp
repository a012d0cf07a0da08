// The one installation: a job rendered, written, installed and remembered.
#include "wallpaper/install_wallpaper.h"

#include <memory>

#include "wallpaper/install_files.h"
#include "wallpaper/remember.h"

namespace qr {

InstallOutcome InstallWallpaper(const WallpaperJob& given, const InstallSteps& steps) {
  WallpaperJob job = given;
  if (steps.keepCurrentWallpaper) PreserveCurrentWallpaper(job);
  InstallOutcome outcome;
  std::unique_ptr<win::MonitorWallpapers> system;
  win::MonitorWallpapers* perMonitor = steps.perMonitor;
  if (!perMonitor && job.display.monitors.size() > 1) {
    system = win::OpenMonitorWallpapers();
    perMonitor = system.get();
  }
  outcome.files = WriteWallpaperFiles(job, steps.path, perMonitor);
  if (!outcome.files) return outcome;
  const std::optional<std::string> primary = steps.written ? steps.written(*outcome.files) : steps.path;
  if (!primary) {
    outcome.result = InstallOutcome::Result::Stopped;
    return outcome;
  }
  if (!InstallWallpaperFiles(*outcome.files, job, *primary, perMonitor)) {
    outcome.result = InstallOutcome::Result::NotInstalled;
    return outcome;
  }
  outcome.result = InstallOutcome::Result::Installed;
  outcome.installed = InstalledPaths(*outcome.files, job, *primary);
  outcome.remembered = steps.refreshing ? RememberRefreshed(*steps.refreshing, job, outcome.installed)
                                        : RememberLastWallpaper(job, outcome.installed);
  return outcome;
}

}  // namespace qr
