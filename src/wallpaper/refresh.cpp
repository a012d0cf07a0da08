// The remembered wallpaper made again for the display as it is now and installed.
#include "wallpaper/refresh.h"

#include "shared/fixed_files.h"
#include "shared/helpers.h"
#include "wallpaper/install_wallpaper.h"
#include "wallpaper/job_inputs.h"
#include "wallpaper/remember.h"
#include "win32/display.h"

namespace qr {

RefreshResult RefreshLastWallpaper(const std::function<void(std::string_view)>& say,
                                   const DisplayLayout* display, win::MonitorWallpapers* perMonitor) {
  std::optional<LastWallpaper> last = LoadLastWallpaper();
  if (!last) return RefreshResult::NothingRemembered;
  const DisplayLayout& now = display ? *display : win::CurrentDisplay();
  WallpaperJob job = JobFromLastWallpaper(*last, now, DesktopColour());
  if (job.background.kind == BackgroundKind::ImageFile && !File_Exists(job.background.file)) {
    if (say) say(kRefreshPictureMissing);
    job.background.kind = BackgroundKind::DesktopColour;
  }
  if (job.background.kind == BackgroundKind::CurrentWallpaper && now.monitors.size() > 1)
    job.background.monitorWallpapers = MonitorWallpaperFiles(now);
  InstallSteps steps{WallpaperBitmapPath(), perMonitor};
  steps.refreshing = std::move(last);
  return InstallWallpaper(job, steps).ok() ? RefreshResult::Done : RefreshResult::Failed;
}

}  // namespace qr
