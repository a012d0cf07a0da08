#pragma once
// The third step of the wallpaper's road: a job's wallpaper rendered and written as bitmap files, for one
// monitor or several, in the shape its installation needs (wallpaper/install_files.h installs them).
//
// - One monitor: one bitmap at the given path (the fixed file), installed as the wallpaper: exactly what
//   the program has always written.
// - Several monitors, where the system has per-monitor wallpapers: a bitmap per monitor at its own size,
//   the primary's at the given path and the others beside it with the monitor's number added
//   ("Quelm_Rask2.bmp"), each installed on its monitor and shown centred, pixel for pixel.
// - Several monitors elsewhere: one bitmap of the whole virtual screen at the given path, installed
//   spanned, or tiled from the primary's corner where the system cannot span.
// Every bitmap is written beside its file and then moved over it.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/wallpaper_job.h"
#include "wallpaper/composer.h"
#include "win32/surface.h"
#include "win32/wallpaper.h"

namespace qr {

struct WallpaperFiles {
  enum class Kind { Single, PerMonitor, Spanned };
  Kind kind = Kind::Single;
  std::vector<std::string> paths;  // Single and Spanned: one; PerMonitor: one per monitor, in job order
  win::SpanStyle spanStyle = win::SpanStyle::Span;
  win::Surface primary;  // the primary monitor's picture (what the canvas shows), when it was asked for
};

// One monitor's picture (RenderMonitor) or the primary's (RenderWallpaper) written as a bitmap file at
// `path` (win32/bitmap_file.h) without being held whole: the background painted band by band into one
// reused band, the table drawn once over its own patch of it. A background that is stretched is rendered
// whole and written. False when the file cannot be written or the table not drawn.
bool WriteMonitorBitmap(const WallpaperJob& job, size_t monitor, const std::string& path,
                        ComposeTimings* timings = nullptr);
bool WriteWallpaperBitmap(const WallpaperJob& job, const std::string& path,
                          ComposeTimings* timings = nullptr);

// "C:\Quelm_Rask.bmp" with monitor number n (2, 3, ...) added: "C:\Quelm_Rask2.bmp".
std::string MonitorBitmapPath(const std::string& primaryPath, size_t number);

// Renders the job and writes its bitmaps as above; `perMonitor` is the system's per-monitor interface
// (nullptr where there is none). With `keepPrimary` the primary's picture is kept in `primary`, else its
// bitmap is written band by band, never held whole. Nothing when a bitmap could not be rendered or written.
std::optional<WallpaperFiles> WriteWallpaperFiles(const WallpaperJob& job, const std::string& path,
                                                  win::MonitorWallpapers* perMonitor,
                                                  bool keepPrimary = false);

// The whole virtual screen as one bitmap at `path`: the monitors rendered one at a time into files beside
// it (removed again) and joined band by band, so the peak stays near one monitor's surfaces whatever the
// screen's size. `rolled`: for tiling from the primary's corner. False when any step failed.
bool WriteSpanFile(const WallpaperJob& job, const std::string& path, bool rolled);

// For the command line's given layout: monitor1.bmp ... monitorN.bmp and span.bmp (the whole virtual
// screen, not rolled) in `folder`, as one set: written beside their names and moved into place only when
// all were written (an earlier set, with any higher-numbered monitor files of it, stepping aside until
// then), else removed again. False when the set could not be written.
bool WriteLayoutFiles(const WallpaperJob& job, const std::string& folder);

}  // namespace qr
