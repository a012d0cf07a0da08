#pragma once
// The fifth step of the wallpaper's road: the last wallpaper installed, remembered in the user's folder
// (shared/fixed_files.h LastWallpaperPath) for "/refresh" and the resident watcher (wallpaper/refresh.h),
// and the current wallpaper it was drawn over kept beside it.
#include <optional>
#include <string>
#include <vector>

#include "core/last_wallpaper.h"
#include "core/wallpaper_job.h"
#include "wallpaper/write_files.h"
#include "win32/wallpaper.h"

namespace qr {

// The files a job's wallpaper was installed as: `primaryPath` for the primary's (or the only) file.
std::vector<std::string> InstalledPaths(const WallpaperFiles& files, const WallpaperJob& job,
                                        const std::string& primaryPath);

// Before a job with the current wallpaper as its background is rendered and installed: copies the
// wallpaper's files (which the installation may replace) beside the remembered wallpaper and lets the job
// draw from the copies in the style the system records, so the installed wallpaper and any later
// re-rendering start from the same picture. Nothing changes when no wallpaper file is set. When the
// wallpaper shown is the program's own, remembered as drawn over the current wallpaper, the copies kept
// for it are used instead.
void PreserveCurrentWallpaper(WallpaperJob& job);

// Each installed file as it is now (its size and last write), for the snapshot saved just after installing.
std::vector<FileStamp> InstalledStamps(const std::vector<std::string>& installed);
// Remembers the job just installed as `installed`, with its files' `stamps` (none: the snapshot is not
// held against the files), written beside the file and then moved over it. False when it could not be
// written; the wallpaper itself is installed either way.
bool RememberLastWallpaper(const WallpaperJob& job, const std::vector<std::string>& installed,
                           std::vector<FileStamp> stamps = {});
// Remembers `last` made again as `job` (its display) and installed as `installed`, with `stamps` as above;
// what it was made from, and when, stays.
bool RememberRefreshed(LastWallpaper last, const WallpaperJob& job, const std::vector<std::string>& installed,
                       std::vector<FileStamp> stamps = {});
// Whether `last` still describes the wallpaper installed now: its files unchanged since it was saved, and
// one of them shown. A snapshot that could not be replaced after another wallpaper was installed fails.
bool IsOfInstalledWallpaper(const LastWallpaper& last);
// The remembered wallpaper; nothing when there is none, it is marked stale, or its file is damaged.
std::optional<LastWallpaper> LoadLastWallpaper();
// True when a remembered wallpaper's file is there but cannot be read as one (damaged, or from elsewhere).
bool LastWallpaperDamaged();
// After a new wallpaper was installed but could not be remembered: the old snapshot no longer describes
// it, so it is removed or, where it cannot be (read-only, locked), marked stale by a file beside it that
// LoadLastWallpaper honours until a snapshot is saved again. False when neither could be done.
bool ForgetLastWallpaper();

}  // namespace qr
