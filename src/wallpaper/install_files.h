#pragma once
// The fourth step of the wallpaper's road: written bitmaps (wallpaper/write_files.h) installed as the
// desktop wallpaper: the one file as it always was, each monitor's own file shown centred where the system
// has per-monitor wallpapers, or the virtual screen's file spanned (tiled from the primary's corner where
// the system cannot span).
#include <string>

#include "core/wallpaper_job.h"
#include "wallpaper/write_files.h"
#include "win32/wallpaper.h"

namespace qr {

// Installs written files. `primaryPath` replaces the primary's (or the only) file, where the user saved
// it under a name of its own. False when the system refuses any of them.
bool InstallWallpaperFiles(const WallpaperFiles& files, const WallpaperJob& job,
                           const std::string& primaryPath, win::MonitorWallpapers* perMonitor);

}  // namespace qr
