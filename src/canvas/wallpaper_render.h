#pragma once
// The one renderer of the wallpaper: a job (core/wallpaper_job.h) drawn into an off-screen surface of
// the job's screen size, with no window: the background, then the table as transparent text or as
// opaque cells. The canvas, the preview, the create command, the command line and the benchmark all
// build a job and call RenderWallpaper, so each shows or writes exactly the same pixels.
//
//   WallpaperJob job = WallpaperJobFromEditor(editor);   // or LoadWallpaperJob(...) from a ".qlm"
//   win::Surface wallpaper = RenderWallpaper(job);
//   win::WriteBitmapFile(wallpaper, WallpaperBitmapPath());
#include <vector>

#include "canvas/composer.h"
#include "core/geometry.h"
#include "core/wallpaper_job.h"
#include "win32/surface.h"

namespace qr {

struct AppState;

// The wallpaper of the job; an empty surface when no surface of that size can be made.
win::Surface RenderWallpaper(const WallpaperJob& job, ComposeTimings* timings = nullptr);

// The screen rectangles of the job's table cells (the canvas lets presses on them through).
std::vector<Rect> TableCellRects(const WallpaperJob& job);

// The system's part of a job: the screen's size as the canvas measures it (twips over twips per pixel,
// rounded) and the desktop colour.
Size ScreenSizePx();
uint32_t DesktopColour();

// A job from the program's state (background choice, table size, widths, `Trans`, `Table_X`,
// `Table_Y`) and the table's cells, for the screen as it is now.
WallpaperJob JobFromState(const AppState& state, const TableModel& table);

}  // namespace qr
