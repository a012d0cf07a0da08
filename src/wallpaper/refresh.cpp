// The remembered wallpaper made again for the display as it is now and installed.
#include "wallpaper/refresh.h"

#include <string>

#include "shared/fixed_files.h"
#include "shared/helpers.h"
#include "wallpaper/install_wallpaper.h"
#include "wallpaper/job_inputs.h"
#include "wallpaper/remember.h"
#include "win32/display.h"
#include "win32/image.h"

namespace qr {

namespace {

// The file the wallpaper was installed as (the primary's, with one per monitor): the one the user chose
// with /out or under a name stays the installed one. The wallpaper file when none is known.
std::string PrimaryInstalledFile(const LastWallpaper& last) {
  if (last.installed.empty()) return WallpaperBitmapPath();
  const size_t primary = last.installed.size() > 1 ? last.renderedFor.PrimaryIndex() : 0;
  return last.installed[primary < last.installed.size() ? primary : 0];
}

}  // namespace

RefreshResult RefreshLastWallpaper(const std::function<void(std::string_view)>& say,
                                   const DisplayLayout* display, win::MonitorWallpapers* perMonitor) {
  std::optional<LastWallpaper> last = LoadLastWallpaper();
  if (!last) return LastWallpaperDamaged() ? RefreshResult::Damaged : RefreshResult::NothingRemembered;
  if (!IsOfInstalledWallpaper(*last)) return RefreshResult::NotInstalledNow;
  const DisplayLayout now = display ? *display : win::CurrentDisplay();
  WallpaperJob job = JobFromLastWallpaper(*last, now, DesktopColour());
  if (job.background.kind == BackgroundKind::ImageFile) {
    // A missing file, or one that is not a picture (a damaged snapshot may name anything): said, and
    // the desktop colour instead of a silent blank.
    const bool missing = !File_Exists(job.background.file);
    if (missing || !win::ImageFile::Open(job.background.file)) {
      if (say) say((missing ? kRefreshPictureMissing : kRefreshNotAPicture) + job.background.file);
      job.background.kind = BackgroundKind::DesktopColour;
    }
  }
  // What the system reports as the wallpaper now is the program's own output: only the kept copies of the
  // wallpaper the table was first drawn over may lie under it, on any number of monitors (a monitor
  // without a copy of its own shows the first). Without any copy there was no wallpaper file: the
  // desktop colour.
  if (job.background.kind == BackgroundKind::CurrentWallpaper) {
    // A kept copy gone (removed by hand, a cleaner) is said, as a missing picture is.
    bool anyKept = false;
    for (const std::string& copy : job.background.monitorWallpapers) {
      const bool kept = !copy.empty() && File_Exists(copy);
      if (!kept && !copy.empty() && say) say(kRefreshKeptCopyMissing + copy);
      anyKept = anyKept || kept;
    }
    if (!anyKept) job.background.kind = BackgroundKind::DesktopColour;
  }
  InstallSteps steps{PrimaryInstalledFile(*last), perMonitor};
  steps.refreshing = std::move(last);
  return InstallWallpaper(job, steps).ok() ? RefreshResult::Done : RefreshResult::Failed;
}

}  // namespace qr
