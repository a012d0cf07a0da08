// The wallpaper job and its one builder: where the table goes and what it is drawn over.
#include "core/wallpaper_job.h"

#include <algorithm>
#include <cmath>

namespace qr {

namespace {

// The first cell's text area lies inside the grid box's and the cell's own sunken edges, which the
// system draws two pixels wide at every scale; the rest is design geometry at the window's scale.
constexpr int32_t kSunkenEdge = 2;

// A window's pixel from twips, as the window itself converts (halves away from zero).
int32_t WindowPixels(double twips, double twipsPerPixel) {
  const double perPixel = twipsPerPixel > 0 ? twipsPerPixel : kFixedTwipsPerPixel;
  const double pixels = std::round(twips / perPixel);
  return static_cast<int32_t>(std::clamp(pixels, double{INT32_MIN}, double{INT32_MAX}));
}

int32_t Saturated(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

Size EditorWindowSize(const EditorPlace& place, int32_t dpi) {
  const GridLayout layout = LayoutGrid(place.rows, place.cols, place.widths);
  return {Saturated(DesignToDpi(layout.windowTwips.w / kFixedTwipsPerPixel, dpi)),
          Saturated(DesignToDpi(layout.windowTwips.h / kFixedTwipsPerPixel, dpi))};
}

}  // namespace

BackgroundKind BackgroundKindOf(int16_t G_Kabe) {
  switch (G_Kabe) {
    case 0:
      return BackgroundKind::CurrentWallpaper;
    case 1:
      return BackgroundKind::ImageFile;
    default:
      return BackgroundKind::DesktopColour;
  }
}

Placement PlacementOf(int16_t G_Pos) {
  return G_Pos >= 0 && G_Pos <= 2 ? static_cast<Placement>(G_Pos) : Placement::None;
}

TextEffect TextEffectOf(int16_t Text_Effect) {
  return Text_Effect >= 0 && Text_Effect <= 3 ? static_cast<TextEffect>(Text_Effect) : TextEffect::None;
}

int16_t PanelAlphaOf(int16_t Panel_Alpha) {
  return Panel_Alpha == 25 || Panel_Alpha == 75 ? Panel_Alpha : int16_t{50};
}

const Cell* JobTable::At(int row, int col) const {
  if (row < 1 || col < 1 || col > kMaxCols || static_cast<size_t>(row) > cells.size()) return nullptr;
  return &cells[static_cast<size_t>(row - 1)][static_cast<size_t>(col - 1)];
}

JobTable JobTableFrom(const TableModel& model, int16_t rows, int16_t cols, const ColumnWidths& widths) {
  JobTable table{rows, cols, widths, {}};
  const int held = std::clamp<int>(rows, 0, kMaxRows);
  table.cells.resize(static_cast<size_t>(held));
  for (int r = 1; r <= held; ++r)
    for (int c = 1; c <= kMaxCols; ++c)
      table.cells[static_cast<size_t>(r - 1)][static_cast<size_t>(c - 1)] = model.At(r, c);
  return table;
}

JobTable JobTableFrom(const DecodedTable& decoded) {
  return {decoded.rows, decoded.cols, decoded.widths, decoded.cells};
}

Rect EditorWindowOnDisplay(const EditorPlace& place, const DisplayLayout& display) {
  const double perPixel = display.TwipsPerPixel();
  const Size size = EditorWindowSize(place, display.systemDpi);
  if (place.leftTwips != -1 && place.topTwips != -1) {
    const Rect saved{WindowPixels(place.leftTwips, perPixel), WindowPixels(place.topTwips, perPixel), size.w,
                     size.h};
    if (MonitorOverlapping(display, saved)) return saved;
  }
  // Centred in twips, as the editor centres itself: the screen's and the window's twips, halved.
  const Rect primary = display.Primary().rect;
  const double left = CentredStart(primary.w * perPixel, size.w * perPixel);
  const double top = CentredStart(primary.h * perPixel, size.h * perPixel);
  return {Saturated(int64_t{primary.x} + WindowPixels(left, perPixel)),
          Saturated(int64_t{primary.y} + WindowPixels(top, perPixel)), size.w, size.h};
}

Point TableCornerInEditor(const Rect& window, int32_t dpi) {
  const int64_t x = int64_t{window.x} + DesignToDpi(kGridBoxLeft, dpi) + kSunkenEdge +
                    DesignToDpi(kFirstCellLeft, dpi) + kSunkenEdge;
  const int64_t y = int64_t{window.y} + DesignToDpi(kGridBoxTop, dpi) + kSunkenEdge +
                    DesignToDpi(kFirstRowTop, dpi) + kSunkenEdge;
  return {Saturated(x), Saturated(y)};
}

TablePlace TablePlaceFromEditor(const EditorPlace& place, const DisplayLayout& display) {
  const Rect window = EditorWindowOnDisplay(place, display);
  const int32_t dpi =
      display.monitors.empty() ? display.systemDpi : display.monitors[NearestMonitor(display, window)].dpi;
  return {TableCornerInEditor(window, dpi), dpi};
}

Size TableOuterSize(const JobTable& table, int32_t dpi) {
  const CanvasTableLayout layout = ScaledCanvasTable({0, 0}, table.rows, table.cols, table.widths, dpi);
  int64_t right = 1, bottom = 1;
  for (const CellPlacement& cell : layout.cells) {
    right = std::max<int64_t>(right, int64_t{cell.rect.x} + cell.rect.w);
    bottom = std::max<int64_t>(bottom, int64_t{cell.rect.y} + cell.rect.h);
  }
  return {Saturated(right), Saturated(bottom)};
}

Rect DrawnTableRect(Point corner, const JobTable& table, int32_t dpi, bool transparent) {
  const Point start = transparent ? corner : EditorCellsOrigin(corner);
  const Size size = TableOuterSize(table, dpi);
  return {start.x, start.y, size.w, size.h};
}

Point CornerKeepingTableInside(Point corner, const JobTable& table, int32_t dpi, bool transparent,
                               const Rect& area) {
  const Rect drawn = DrawnTableRect(corner, table, dpi, transparent);
  const Rect kept = KeepInside(drawn, area);
  return {Saturated(int64_t{corner.x} + kept.x - drawn.x), Saturated(int64_t{corner.y} + kept.y - drawn.y)};
}

TablePlace TablePlaceAt(Point corner, const JobTable& table, const DisplayLayout& display, bool transparent) {
  if (display.monitors.empty()) return {corner, display.systemDpi};
  const Rect whole = DrawnTableRect(corner, table, kDesignPixelsPerInch, transparent);
  const MonitorInfo& monitor = display.monitors[NearestMonitor(display, whole)];
  if (MonitorOverlapping(display, whole)) return {corner, monitor.dpi};
  return {CornerKeepingTableInside(corner, table, monitor.dpi, transparent, monitor.rect), monitor.dpi};
}

JobChoices JobChoicesOf(const AppState& state) {
  return {BackgroundKindOf(state.G_Kabe),  state.Kabe_File,
          PlacementOf(state.G_Pos),        state.Trans == 1,
          TextEffectOf(state.Text_Effect), PanelAlphaOf(state.Panel_Alpha)};
}

WallpaperJob BuildWallpaperJob(const JobInputs& inputs) {
  const JobChoices& choices = inputs.choices;
  WallpaperJob job;
  job.display = inputs.display;
  job.background = {choices.background, choices.file, choices.placement, inputs.desktopColour, {}};
  if (job.background.kind == BackgroundKind::CurrentWallpaper)
    job.background.monitorWallpapers = inputs.monitorWallpapers;
  job.table = inputs.table;
  job.transparent = choices.transparent;
  const TablePlace place = inputs.at ? TablePlaceAt(*inputs.at, job.table, job.display, job.transparent)
                                     : TablePlaceFromEditor(inputs.editor, job.display);
  job.tableAt = place.corner;
  job.dpi = inputs.dpi.value_or(place.dpi);
  job.textEffect = choices.textEffect;
  job.panelAlpha = PanelAlphaOf(choices.panelAlpha);
  return job;
}

}  // namespace qr
