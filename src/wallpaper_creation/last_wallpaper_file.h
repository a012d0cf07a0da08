#pragma once
// The last wallpaper installed, remembered in the user's folder (shared/fixed_files.h LastWallpaperPath),
// and made again for the display as it is now: "/refresh", and the resident watcher.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "canvas/wallpaper_install.h"
#include "core/last_wallpaper.h"
#include "core/wallpaper_job.h"
#include "win32/wallpaper.h"

namespace qr {

// The files a job's wallpaper was installed as: `primaryPath` for the primary's (or the only) file.
std::vector<std::string> InstalledPaths(const WallpaperFiles& files, const WallpaperJob& job,
                                        const std::string& primaryPath);

// Before a job with the current wallpaper as its background is rendered and installed: copies the
// wallpaper's files (which the installation may replace) beside the remembered wallpaper and lets the job
// draw from the copies in the style the system records, so the installed wallpaper and any later
// re-rendering start from the same picture. Nothing changes when no wallpaper file is set.
void PreserveCurrentWallpaper(WallpaperJob& job);

// Remembers the job just installed (written beside the file, then moved over it). False when it could
// not be written; the wallpaper itself is installed either way.
bool RememberLastWallpaper(const WallpaperJob& job, const std::vector<std::string>& installed);
// The remembered wallpaper; nothing when there is none or its file is damaged.
std::optional<LastWallpaper> LoadLastWallpaper();

enum class RefreshResult { Done, NothingRemembered, Failed };

// Makes the remembered wallpaper again for the display as it is now (`display`, the system's when
// null), installs it and remembers the display it was made for. A background picture that is missing
// gives the desktop colour, and `say` hears it. `perMonitor`: the system's per-monitor wallpapers, asked
// for when there are several monitors and none is given.
RefreshResult RefreshLastWallpaper(const std::function<void(std::string_view)>& say,
                                   const DisplayLayout* display = nullptr,
                                   win::MonitorWallpapers* perMonitor = nullptr);

// The message `say` hears when the background picture is missing.
inline constexpr const char* kRefreshPictureMissing =
    "背景の画像ﾌｧｲﾙが見つかりません。ﾃﾞｽｸﾄｯﾌﾟの色で作成します。";

}  // namespace qr
