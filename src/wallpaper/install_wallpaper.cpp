// The one installation: a job rendered, written, installed and remembered.
#include "wallpaper/install_wallpaper.h"

#include <memory>
#include <utility>

#include "wallpaper/install_files.h"
#include "wallpaper/remember.h"
#include "win32/step_times.h"

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
  outcome.files = WriteWallpaperFiles(job, steps.path, perMonitor, steps.keepPrimary);
  if (!outcome.files) return outcome;
  win::steps::Mark("written");
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
  win::steps::Mark("installed");
  outcome.installed = InstalledPaths(*outcome.files, job, *primary);
  std::vector<FileStamp> stamps = InstalledStamps(outcome.installed);
  outcome.remembered = steps.refreshing
                           ? RememberRefreshed(*steps.refreshing, job, outcome.installed, std::move(stamps))
                           : RememberLastWallpaper(job, outcome.installed, std::move(stamps));
  win::steps::Mark("remembered");
  // A new wallpaper the old snapshot does not describe: that snapshot must not bring back an older one. One
  // that stamps its files shows it by itself (a refresh compares them) and stays, as it names the kept
  // copies of the first background, which the next wallpaper drawn over this one needs; an older one goes.
  // (A refresh that cannot be remembered keeps its snapshot: it still describes the same wallpaper.)
  if (!outcome.remembered && !steps.refreshing) {
    const std::optional<LastWallpaper> old = LoadLastWallpaper();
    if (old && old->installedStamps.empty()) ForgetLastWallpaper();
  }
  return outcome;
}

}  // namespace qr
