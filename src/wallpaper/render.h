#pragma once
// The one renderer of the wallpaper: a job (core/wallpaper_job.h) drawn into off-screen surfaces with no
// window, one per monitor at its own size: the background placed relative to that monitor, then the part
// of the table that lies on it, as transparent text or as opaque cells. A table that straddles two
// monitors is drawn on both from the same virtual-screen corner, so the halves meet with no seam. The
// canvas, the preview, the create command, the command line and the benchmark all build the job with
// the one builder (BuildWallpaperJob) and render it here, so each shows or writes exactly the same pixels.
//
//   WallpaperJob job = BuildWallpaperJob(SystemJobInputs(choices, table));  // wallpaper/job_inputs.h
//   win::Surface wallpaper = RenderWallpaper(job);  // the primary monitor's picture
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/wallpaper_job.h"
#include "wallpaper/composer.h"
#include "win32/surface.h"

namespace qr {

// The picture of one monitor of the job (index into job.display.monitors); an empty surface when no
// surface of that size can be made or there is no such monitor.
win::Surface RenderMonitor(const WallpaperJob& job, size_t monitor, ComposeTimings* timings = nullptr);
// The primary monitor's picture: on one monitor, the whole wallpaper.
win::Surface RenderWallpaper(const WallpaperJob& job, ComposeTimings* timings = nullptr);
// The parts a bitmap written band by band (wallpaper/write_files.h) draws with, as the pictures above do:
// the file a monitor's current-wallpaper background comes from (a layout with more monitors than files
// shows the first on the others);
const std::string& WallpaperOfMonitor(const WallpaperJob& job, size_t monitor);
// the part of a monitor the table can mark (its cells, widened by more than any text effect's halo
// reaches, within the monitor; empty when the table lies elsewhere), in the monitor's own coordinates;
Rect TableArea(const WallpaperJob& job, const Rect& monitor);
// the job's table drawn on a target whose corner lies at `corner` of the monitor at `monitorCorner`;
void DrawJobTable(win::Surface& target, const WallpaperJob& job, Point monitorCorner, Point corner,
                  ComposeTimings* timings);
// the job with the primary screen as its one monitor, for a layout that lists none.
WallpaperJob OnPrimaryScreen(const WallpaperJob& job);

// Every monitor's picture laid where the monitor lies, on a surface of the whole virtual screen (the
// desktop colour where no monitor is).
win::Surface RenderSpan(const WallpaperJob& job, ComposeTimings* timings = nullptr);
// What the screens show of the job: on one monitor its picture (RenderWallpaper), on several every
// monitor's own picture where it lies (RenderSpan). The previews and the canvas show this.
win::Surface RenderScreen(const WallpaperJob& job);
// The virtual-screen rectangle RenderScreen's picture covers on several monitors; empty on one (the
// primary screen, as the windows measure it).
Rect ScreenArea(const WallpaperJob& job);
// The virtual screen's picture rolled so that, tiled from the primary monitor's corner (as the desktop
// tiles), each pixel shows on the monitor it was drawn for: a virtual screen starting left of or above
// the primary is cut at the primary's corner and its two parts swapped.
win::Surface RollForTiling(const win::Surface& span, Point virtualOrigin);

// The screen rectangles of the job's table cells (the canvas lets presses on them through).
std::vector<Rect> TableCellRects(const WallpaperJob& job);

}  // namespace qr
