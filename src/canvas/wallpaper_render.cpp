#include "canvas/wallpaper_render.h"

#include <windows.h>

#include "core/app_state.h"
#include "win32/screen.h"

namespace qr {

namespace {

// Transparent cells are laid out from the table's corner; opaque ones stand on the editor's cells.
Point CellsOrigin(const WallpaperJob& job) {
  return job.transparent ? job.tableAt : EditorCellsOrigin(job.tableAt);
}

}  // namespace

win::Surface RenderWallpaper(const WallpaperJob& job, ComposeTimings* timings) {
  win::Surface surface(job.screen.w, job.screen.h);  // the background is filled in once, by its composer
  if (!surface.ok()) return {};
  ComposeBackground(surface, job.background, timings);
  if (job.transparent)
    DrawTransparentTable(surface, job.table, job.tableAt, job.dpi, timings, {job.textEffect, job.panelAlpha});
  else
    DrawOpaqueTable(surface, job.table, CellsOrigin(job), job.dpi, timings);
  GdiFlush();
  return surface;
}

std::vector<Rect> TableCellRects(const WallpaperJob& job) {
  const Point origin = CellsOrigin(job);
  const CanvasTableLayout layout =
      ScaledCanvasTable(origin, job.table.rows, job.table.cols, job.table.widths, job.dpi);
  std::vector<Rect> rects;
  for (const CellPlacement& cell : layout.cells) rects.push_back(cell.rect);
  return rects;
}

Size ScreenSizePx() {
  const win::ScreenMetrics screen = win::GetScreenMetrics();
  return {RoundToInt32(screen.widthTwips / screen.twipsPerPixelX),
          RoundToInt32(screen.heightTwips / screen.twipsPerPixelY)};
}

uint32_t DesktopColour() { return GetSysColor(COLOR_BACKGROUND); }

WallpaperJob JobFromState(const AppState& state, const TableModel& table) {
  WallpaperJob job;
  job.screen = ScreenSizePx();
  job.background = {BackgroundKindOf(state.G_Kabe), state.Kabe_File, PlacementOf(state.G_Pos),
                    DesktopColour()};
  job.table = JobTableFrom(table, state.G_Rows, state.G_Cols, state.G_Cols_w);
  job.tableAt = {state.Table_X, state.Table_Y};
  job.transparent = state.Trans == 1;
  job.textEffect = TextEffectOf(state.Text_Effect);
  job.panelAlpha = PanelAlphaOf(state.Panel_Alpha);
  return job;
}

}  // namespace qr
