#include "core/wallpaper_job.h"

#include <algorithm>
#include <cmath>

namespace qr {

namespace {

// A window's pixel from twips, as the window itself converts (halves away from zero).
int32_t WindowPixels(double twips, double twipsPerPixel) {
  const double perPixel = twipsPerPixel > 0 ? twipsPerPixel : kFixedTwipsPerPixel;
  const double pixels = std::round(twips / perPixel);
  return static_cast<int32_t>(std::clamp(pixels, double{INT32_MIN}, double{INT32_MAX}));
}

Size EditorWindowSize(const EditorPlacementInput& input) {
  const GridLayout layout = LayoutGrid(input.rows, input.cols, input.widths);
  return {WindowPixels(layout.windowTwips.w, input.twipsPerPixelX),
          WindowPixels(layout.windowTwips.h, input.twipsPerPixelY)};
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

Rect EditorWindowRect(const EditorPlacementInput& input) {
  if (input.leftTwips == -1 || input.topTwips == -1) return CentredEditorWindowRect(input);
  const Size size = EditorWindowSize(input);
  return {WindowPixels(input.leftTwips, input.twipsPerPixelX),
          WindowPixels(input.topTwips, input.twipsPerPixelY), size.w, size.h};
}

Rect CentredEditorWindowRect(const EditorPlacementInput& input) {
  // In twips, as the editor centres itself: the screen's and the window's twips, halved, to pixels.
  const Size size = EditorWindowSize(input);
  const double left = CentredStart(input.screenPx.w * input.twipsPerPixelX, size.w * input.twipsPerPixelX);
  const double top = CentredStart(input.screenPx.h * input.twipsPerPixelY, size.h * input.twipsPerPixelY);
  return {WindowPixels(left, input.twipsPerPixelX), WindowPixels(top, input.twipsPerPixelY), size.w, size.h};
}

Point TableCornerFor(const Rect& window, double twipsPerPixelX, double twipsPerPixelY) {
  TableRectInput input;
  input.windowLeftTwips = window.x * twipsPerPixelX;
  input.windowTopTwips = window.y * twipsPerPixelY;
  input.twipsPerPixelX = twipsPerPixelX;
  input.twipsPerPixelY = twipsPerPixelY;
  const Rect r = TableRectangle(input);
  return {r.x, r.y};
}

}  // namespace qr
