// The one renderer: a job drawn per monitor, the span of the whole virtual screen, and its roll for tiling.
#include "wallpaper/render.h"

#include <windows.h>

#include <algorithm>

#include "core/text_effect.h"
#include "win32/step_times.h"

namespace qr {

namespace {

// Transparent cells are laid out from the table's corner; opaque ones stand on the editor's cells.
Point CellsOrigin(const WallpaperJob& job) {
  return job.transparent ? job.tableAt : EditorCellsOrigin(job.tableAt);
}

Point Minus(Point p, Point origin) {
  return {RoundToInt32(static_cast<double>(p.x) - origin.x),
          RoundToInt32(static_cast<double>(p.y) - origin.y)};
}

}  // namespace

void DrawJobTable(win::Surface& target, const WallpaperJob& job, Point monitorCorner, Point corner,
                  ComposeTimings* timings) {
  const Point origin{monitorCorner.x + corner.x, monitorCorner.y + corner.y};
  if (job.transparent)
    DrawTransparentTable(target, job.table, Minus(job.tableAt, origin), job.dpi, timings,
                         {job.textEffect, job.panelAlpha});
  else
    DrawOpaqueTable(target, job.table, Minus(CellsOrigin(job), origin), job.dpi, timings);
}

Rect TableArea(const WallpaperJob& job, const Rect& monitor) {
  const std::vector<Rect> cells = TableCellRects(job);
  if (cells.empty()) return {};
  int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
  for (const Rect& cell : cells) {
    left = std::min(left, int64_t{cell.x} - monitor.x);
    top = std::min(top, int64_t{cell.y} - monitor.y);
    right = std::max(right, int64_t{cell.x} + cell.w - monitor.x);
    bottom = std::max(bottom, int64_t{cell.y} + cell.h - monitor.y);
  }
  const int64_t margin = 8 * int64_t{HaloRadius(job.dpi)};
  left = std::max<int64_t>(0, left - margin);
  top = std::max<int64_t>(0, top - margin);
  right = std::min<int64_t>(monitor.w, right + margin);
  bottom = std::min<int64_t>(monitor.h, bottom + margin);
  if (right <= left || bottom <= top) return {};
  return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right - left),
          static_cast<int32_t>(bottom - top)};
}

const std::string& WallpaperOfMonitor(const WallpaperJob& job, size_t monitor) {
  static const std::string none;
  const std::vector<std::string>& own = job.background.monitorWallpapers;
  // A layout with more monitors than files: the others show the first (the primary's).
  return monitor < own.size() ? own[monitor] : own.empty() ? none : own.front();
}

win::Surface RenderMonitor(const WallpaperJob& job, size_t monitor, ComposeTimings* timings) {
  if (monitor >= job.display.monitors.size()) return {};
  const Rect area = job.display.monitors[monitor].rect;
  win::Surface surface(area.w, area.h);  // the background is filled in once, by its composer
  if (!surface.ok()) return {};
  ComposeBackground(surface, job.background, timings, WallpaperOfMonitor(job, monitor));
  win::steps::Mark("background");
  DrawJobTable(surface, job, {area.x, area.y}, {}, timings);
  GdiFlush();
  win::steps::Mark("table drawn");
  return surface;
}

WallpaperJob OnPrimaryScreen(const WallpaperJob& job) {
  WallpaperJob primary = job;
  primary.display = SingleMonitorLayout(job.display.PrimarySize(), job.display.systemDpi);
  return primary;
}

win::Surface RenderWallpaper(const WallpaperJob& job, ComposeTimings* timings) {
  if (job.display.monitors.empty()) return RenderMonitor(OnPrimaryScreen(job), 0, timings);
  return RenderMonitor(job, job.display.PrimaryIndex(), timings);
}

win::Surface RenderSpan(const WallpaperJob& job, ComposeTimings* timings) {
  const Rect whole = job.display.VirtualScreen();
  win::Surface span(whole.w, whole.h, job.background.desktopColour);
  if (!span.ok()) return {};
  for (size_t i = 0; i < job.display.monitors.size(); ++i) {
    const win::Surface picture = RenderMonitor(job, i, timings);
    if (!picture.ok()) return {};
    const Rect area = job.display.monitors[i].rect;
    BitBlt(span.dc(), area.x - whole.x, area.y - whole.y, area.w, area.h, picture.dc(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  return span;
}

win::Surface RenderScreen(const WallpaperJob& job) {
  return job.display.monitors.size() > 1 ? RenderSpan(job) : RenderWallpaper(job);
}

Rect ScreenArea(const WallpaperJob& job) {
  return job.display.monitors.size() > 1 ? job.display.VirtualScreen() : Rect{};
}

win::Surface RollForTiling(const win::Surface& span, Point virtualOrigin) {
  const int w = span.width(), h = span.height();
  win::Surface rolled(w, h);
  if (!rolled.ok() || w <= 0 || h <= 0) return {};
  // The tile's pixel (u, v) shows at every virtual point congruent to it: the one inside the virtual
  // screen is at (u - shiftX, v - shiftY) of the span, taken modulo its size.
  const int shiftX = ((-virtualOrigin.x) % w + w) % w;
  const int shiftY = ((-virtualOrigin.y) % h + h) % h;
  for (int part = 0; part < 4; ++part) {
    const bool right = part & 1, lower = part & 2;
    const int srcX = right ? 0 : shiftX, srcY = lower ? 0 : shiftY;
    const int dstX = right ? w - shiftX : 0, dstY = lower ? h - shiftY : 0;
    const int partW = right ? shiftX : w - shiftX, partH = lower ? shiftY : h - shiftY;
    if (partW > 0 && partH > 0) BitBlt(rolled.dc(), dstX, dstY, partW, partH, span.dc(), srcX, srcY, SRCCOPY);
  }
  GdiFlush();
  return rolled;
}

std::vector<Rect> TableCellRects(const WallpaperJob& job) {
  const Point origin = CellsOrigin(job);
  const CanvasTableLayout layout =
      ScaledCanvasTable(origin, job.table.rows, job.table.cols, job.table.widths, job.dpi);
  std::vector<Rect> rects;
  for (const CellPlacement& cell : layout.cells) rects.push_back(cell.rect);
  return rects;
}

}  // namespace qr
