// All geometry: numeric rounding of twips and pixels, the grid, the canvas table, scaling.
#include "core/geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/app_state.h"
#include "core/numeric.h"

namespace qr {
namespace {

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

int32_t Saturate(int64_t value) { return static_cast<int32_t>(std::clamp(value, kInt32Min, kInt32Max)); }

bool IsPositive(double value) { return value > 0; }  // false for NaN too

double UsableTwipsPerPixel(double twipsPerPixel) {
  return IsPositive(twipsPerPixel) && std::isfinite(twipsPerPixel) ? twipsPerPixel : kFixedTwipsPerPixel;
}

// Single precision as the editor's arithmetic uses it; kept inside float's range so the conversion is
// defined.
float ToSingle(double value) {
  constexpr double kFloatMax = std::numeric_limits<float>::max();
  return std::isnan(value) ? 0.0f : static_cast<float>(std::clamp(value, -kFloatMax, kFloatMax));
}

float SingleTwipsPerPixel(double twipsPerPixel) {
  const float single = ToSingle(UsableTwipsPerPixel(twipsPerPixel));
  return single > 0 ? single : static_cast<float>(kFixedTwipsPerPixel);
}

int64_t NonNegative(int16_t width) { return std::max<int64_t>(width, 0); }

// Left edge of column `col` relative to the first column: the widths of the columns before it.
int64_t ColumnOffset(const std::array<int16_t, 6>& widths, int col) {
  int64_t offset = 0;
  for (int c = 1; c < col; ++c) offset += NonNegative(widths[c]);
  return offset;
}

bool ColumnsInRange(int16_t cols) { return cols >= 1 && cols <= kMaxCols; }

// Starts 0, tile, 2 * tile ... of one tiling direction: every start that is not past `area`, then one
// more, as the loop's strict test lets one tile through beyond the edge. Starts beyond int32 are dropped.
int64_t TileStartCount(int32_t area, int32_t tile) {
  int64_t count = (area >= 0 ? int64_t{area} / tile + 1 : 0) + 1;
  if ((count - 1) * tile > kInt32Max) --count;
  return count;
}

template <typename Visit>  // Visit returns false to stop early
void WalkTileOrigins(int32_t areaW, int32_t areaH, int32_t tileW, int32_t tileH, Visit visit) {
  if (tileW <= 0 || tileH <= 0) return;
  const int64_t columns = TileStartCount(areaW, tileW);
  const int64_t rows = TileStartCount(areaH, tileH);
  for (int64_t column = 0; column < columns; ++column) {
    for (int64_t row = 0; row < rows; ++row) {
      if (!visit(Point{static_cast<int32_t>(column * tileW), static_cast<int32_t>(row * tileH)})) return;
    }
  }
}

}  // namespace

int32_t RoundToInt32(double value) {
  if (std::isnan(value)) return 0;
  const double clamped = std::clamp(value, static_cast<double>(kInt32Min), static_cast<double>(kInt32Max));
  return static_cast<int32_t>(RoundHalfEven(clamped));
}

int32_t TwipsToPixels(double twips, double twipsPerPixel) {
  return RoundToInt32(twips / UsableTwipsPerPixel(twipsPerPixel));
}

double CentredStart(double outer, double inner) { return (outer - inner) / 2; }

Point CentreOver(const Rect& owner, Size dialog) {
  const double x = owner.x + owner.w / 2.0 - dialog.w / 2.0;
  const double y = owner.y + owner.h / 2.0 - dialog.h / 2.0;
  return {RoundToInt32(x), RoundToInt32(y)};
}

Point CentreOnScreen(double screenWPx, double screenHPx, Size dialog) {
  return {RoundToInt32(screenWPx / 2 - dialog.w / 2.0), RoundToInt32(screenHPx / 2 - dialog.h / 2.0)};
}

Rect PlaceCentred(double screenW, double screenH, double w, double h) {
  if (!IsPositive(w) || !IsPositive(h)) return {};
  return {RoundToInt32(CentredStart(screenW, w)), RoundToInt32(CentredStart(screenH, h)), RoundToInt32(w),
          RoundToInt32(h)};
}

Rect PlaceFullScreen(double screenW, double screenH, double w, double h) {
  if (!IsPositive(w) || !IsPositive(h) || !IsPositive(screenW) || !IsPositive(screenH)) return {};
  const bool landscape = w > h;
  const double dw = landscape ? screenW : screenH * w / h;
  const double dh = landscape ? screenW * h / w : screenH;
  return {RoundToInt32(CentredStart(screenW, dw)), RoundToInt32(CentredStart(screenH, dh)), RoundToInt32(dw),
          RoundToInt32(dh)};
}

int64_t TileOriginCount(int32_t areaW, int32_t areaH, int32_t tileW, int32_t tileH) {
  if (tileW <= 0 || tileH <= 0) return 0;
  return TileStartCount(areaW, tileW) * TileStartCount(areaH, tileH);
}

void ForEachTileOrigin(int32_t areaW, int32_t areaH, int32_t tileW, int32_t tileH,
                       const std::function<void(Point)>& visit) {
  WalkTileOrigins(areaW, areaH, tileW, tileH, [&](Point origin) {
    visit(origin);
    return true;
  });
}

std::vector<Point> TileOrigins(int32_t areaW, int32_t areaH, int32_t tileW, int32_t tileH, size_t maxCount) {
  std::vector<Point> origins;
  const int64_t count = TileOriginCount(areaW, areaH, tileW, tileH);
  // Compared unsigned: a limit of SIZE_MAX means none. Room is made only for what a screen can hold; a
  // longer walk grows the vector as it goes.
  const uint64_t wanted = std::min<uint64_t>(static_cast<uint64_t>(count), uint64_t{maxCount});
  origins.reserve(static_cast<size_t>(std::min<uint64_t>(wanted, kMaxTileOrigins)));
  WalkTileOrigins(areaW, areaH, tileW, tileH, [&](Point origin) {
    if (origins.size() >= maxCount) return false;
    origins.push_back(origin);
    return true;
  });
  return origins;
}

namespace {}  // namespace

GridLayout LayoutGrid(int16_t rows, int16_t cols, const std::array<int16_t, 6>& widths, int32_t firstRowTop) {
  GridLayout layout;
  const int usedCols = std::clamp<int>(cols, 0, kMaxCols);
  for (int c = 1; c <= usedCols; ++c) layout.sliderLeft[c] = Saturate(16 + ColumnOffset(widths, c));

  const int laidRows = std::min<int>(rows, kMaxRows);
  // The cells stand on the same grid as the canvas's table, from the first cell's design place.
  layout.cells = LayoutCanvasTable(kFirstCellLeft, firstRowTop, rows, cols, widths).cells;

  // The grid box ends 30 pixels below the top of the last row in use.
  const int64_t lastRowTop =
      int64_t{firstRowTop} + int64_t{Row_Pitch} * (std::clamp(laidRows, 1, kMaxRows) - 1);
  const int64_t gridW = 20 + ColumnOffset(widths, usedCols + 1);
  const int64_t gridH = lastRowTop + 30;
  layout.gridBox = {Saturate(gridW), Saturate(gridH)};

  const int64_t windowW = (gridW + kGridBoxLeft + 12) * kFixedTwipsPerPixel;
  const int64_t windowH = (gridH + kGridBoxTop + 40) * kFixedTwipsPerPixel;
  layout.windowTwips = {Saturate(std::max<int64_t>(windowW, kEditorMinWidthTwips)), Saturate(windowH)};

  const int64_t buttonsTop = kGridBoxTop + gridH;
  layout.button0Face = {4, Saturate(buttonsTop + 4)};
  layout.button0Label = {4, Saturate(buttonsTop + 8)};
  layout.button1Face = {94, Saturate(buttonsTop + 4)};
  layout.button1Label = {94, Saturate(buttonsTop + 8)};
  return layout;
}

void PlaceButtonsBesideGrid(GridLayout& layout) {
  constexpr int64_t kGap = 8;
  constexpr int64_t kFaceWidth = 88;
  constexpr int64_t kFacePitch = 26;  // a 22-pixel face and a gap
  const int64_t left = int64_t{kGridBoxLeft} + layout.gridBox.w + kGap;
  const int64_t top = kGridBoxTop;
  layout.button0Face = {Saturate(left), Saturate(top)};
  layout.button0Label = {Saturate(left), Saturate(top + 4)};
  layout.button1Face = {Saturate(left), Saturate(top + kFacePitch)};
  layout.button1Label = {Saturate(left), Saturate(top + kFacePitch + 4)};
  const int64_t widthTwips = (left + kFaceWidth + kGap) * kFixedTwipsPerPixel;
  layout.windowTwips.w = Saturate(std::max<int64_t>(layout.windowTwips.w, widthTwips));
}

CanvasTableLayout LayoutCanvasTable(int32_t tableX, int32_t tableY, int16_t rows, int16_t cols,
                                    const std::array<int16_t, 6>& widths) {
  CanvasTableLayout layout;
  const int laidRows = std::clamp<int>(rows, 0, kMaxRows);
  int64_t rowTop = tableY;
  for (int r = 1; r <= laidRows; ++r) {
    if (ColumnsInRange(cols)) {
      for (int c = 1; c <= cols; ++c) {
        const Rect cell{Saturate(tableX + ColumnOffset(widths, c)), Saturate(rowTop),
                        Saturate(NonNegative(widths[c])), Row_Pitch};
        layout.cells.push_back({r, c, cell});
      }
    }
    rowTop += Row_Pitch;
  }
  layout.endTableY = Saturate(rowTop);
  return layout;
}

int64_t DesignToDpi(int64_t design, int32_t dpi) {
  if (dpi <= 0 || dpi == kDesignPixelsPerInch) return design;
  // design * dpi / 96 as whole 96ths and the rest, so that no product leaves the int64 range; the quotient
  // and the rounded rest share the sign of `design`, so their sum is the rounded whole.
  const int64_t wholes = design / kDesignPixelsPerInch, rest = design % kDesignPixelsPerInch;
  const int64_t restScaled = (rest * dpi + (design >= 0 ? 48 : -48)) / kDesignPixelsPerInch;
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max(), kMin = std::numeric_limits<int64_t>::min();
  if (wholes > kMax / dpi) return kMax;
  if (wholes < kMin / dpi) return kMin;
  const int64_t product = wholes * dpi;
  if (restScaled > 0 && product > kMax - restScaled) return kMax;
  if (restScaled < 0 && product < kMin - restScaled) return kMin;
  return product + restScaled;
}

CanvasTableLayout ScaledCanvasTable(Point firstCell, int16_t rows, int16_t cols,
                                    const std::array<int16_t, 6>& widths, int32_t dpi) {
  CanvasTableLayout layout = LayoutCanvasTable(firstCell.x, firstCell.y, rows, cols, widths);
  if (dpi == kDesignPixelsPerInch || dpi <= 0) return layout;
  const auto px = [dpi](int64_t v) { return DesignToDpi(v, dpi); };
  // An edge at its design offset from the grid box's corner, which lies `inset` before the first cell.
  const auto scaled = [&](int64_t first, int64_t inset, int64_t edge) {
    return Saturate(first + px(edge - first + inset) - px(inset));
  };
  for (CellPlacement& cell : layout.cells) {
    const int64_t right = int64_t{cell.rect.x} + cell.rect.w, bottom = int64_t{cell.rect.y} + cell.rect.h;
    const int32_t x = scaled(firstCell.x, kFirstCellLeft, cell.rect.x);
    const int32_t y = scaled(firstCell.y, kFirstRowTop, cell.rect.y);
    cell.rect = {x, y, Saturate(int64_t{scaled(firstCell.x, kFirstCellLeft, right)} - x),
                 Saturate(int64_t{scaled(firstCell.y, kFirstRowTop, bottom)} - y)};
  }
  return layout;
}

Point EditorCellsOrigin(Point tableAt) {
  return {Saturate(int64_t{tableAt.x} + kGridBoxEdge + kFirstCellLeft - 12),
          Saturate(int64_t{tableAt.y} + kGridBoxEdge + kFirstRowTop - 12)};
}

Rect TableRectangle(const TableRectInput& input) {
  // Single precision, as the editor computes the rectangle.
  const float x = ToSingle(input.windowLeftTwips) / SingleTwipsPerPixel(input.twipsPerPixelX) +
                  static_cast<float>(input.picBackLeft) + 12.0f;
  const float y = ToSingle(input.windowTopTwips) / SingleTwipsPerPixel(input.twipsPerPixelY) +
                  static_cast<float>(input.picBackTop) + 12.0f;
  const int64_t w = std::max<int64_t>(int64_t{input.picBackWidth} - 18, 0);
  const int64_t h = std::max<int64_t>(int64_t{input.picBackHeight} - 16, 0);
  return {RoundToInt32(x), RoundToInt32(y), Saturate(w), Saturate(h)};
}

int32_t NearestSourcePixel(int32_t target, int32_t targetCount, int32_t sourceCount) {
  if (targetCount <= 0 || sourceCount <= 0) return 0;
  // Below 2^32 times below 2^31: within int64.
  const int64_t centre = 2 * int64_t{std::clamp(target, 0, targetCount - 1)} + 1;
  return static_cast<int32_t>(
      std::min<int64_t>(centre * sourceCount / (2 * int64_t{targetCount}), sourceCount - 1));
}

int32_t JpegScaleEighths(Size picture, Size drawn) {
  if (picture.w <= 0 || picture.h <= 0 || drawn.w <= 0 || drawn.h <= 0) return 8;
  for (int32_t n = 1; n < 8; ++n) {
    const int64_t w = (int64_t{picture.w} * n + 7) / 8;
    const int64_t h = (int64_t{picture.h} * n + 7) / 8;
    if (w >= drawn.w && h >= drawn.h) return n;
  }
  return 8;
}

}  // namespace qr
