#pragma once
// Where things go on the screen: picture placement, tiling, the editor's grid, the canvas's table cells
// and the table rectangle. Pure arithmetic; the windows only draw and move what these functions compute.
// Every conversion to an integer rounds to the nearest value, halves to the even neighbour, and
// saturates at the int32 range, so no input can overflow or divide by zero.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace qr {

struct Point {
  int32_t x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int32_t w = 0, h = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int32_t x = 0, y = 0, w = 0, h = 0;
  bool operator==(const Rect&) const = default;
};

// Whether the two rectangles share a pixel (an empty one shares none).
constexpr bool Overlaps(const Rect& a, const Rect& b) {
  return a.w > 0 && a.h > 0 && b.w > 0 && b.h > 0 && int64_t{a.x} < int64_t{b.x} + b.w &&
         int64_t{b.x} < int64_t{a.x} + a.w && int64_t{a.y} < int64_t{b.y} + b.h &&
         int64_t{b.y} < int64_t{a.y} + a.h;
}

// Fixed measures of the layout, in pixels unless the name says otherwise.
inline constexpr int32_t Row_Pitch = 19;    // height of a cell and distance between rows
inline constexpr int32_t kGridBoxLeft = 4;  // `Pic_Back` in the editor
inline constexpr int32_t kGridBoxTop = 52;
inline constexpr int32_t kFirstRowTop = 8;           // design top of `txt_Item1(1)`
inline constexpr int32_t kFirstCellLeft = 8;         // design left of column 1 in `Pic_Back`
inline constexpr int32_t kDesignPixelsPerInch = 96;  // design values are pixels at this resolution
inline constexpr int32_t kFixedTwipsPerPixel = 15;   // the editor's size and dragging use this factor
inline constexpr int32_t kEditorMinWidthTwips = 4845;
// Text margins inside a cell's client area, left and right: fixed, so that a cell drawn without its
// window lays its text where the window does.
inline constexpr int32_t kCellTextMargin = 1;

// Nearest int32, halves to even; NaN gives 0, values beyond the range give its nearest end.
int32_t RoundToInt32(double value);

// A design length at `dpi` as the window toolkit scales its controls: value * dpi / 96, halves away from
// zero. At 96 (or a dpi below 1) the value itself; a result beyond the int64 range gives its nearest end.
int64_t DesignToDpi(int64_t design, int32_t dpi);

// Pixels from twips: twips / twipsPerPixel, rounded. A factor that is not a positive number is taken
// as the fixed 15 rather than dividing by it.
int32_t TwipsToPixels(double twips, double twipsPerPixel);

// Start of an inner extent centred in an outer one, unrounded: (outer - inner) / 2. The editor centres
// its window this way in twips.
double CentredStart(double outer, double inner);

// The colour dialog's top-left corner centred over its owner's window (screen pixels), and centred on
// the screen: owner.x + owner.w / 2 - dialog.w / 2 (likewise y), rounded.
Point CentreOver(const Rect& owner, Size dialog);
Point CentreOnScreen(double screenWPx, double screenHPx, Size dialog);

// A picture of w x h pixels centred on the screen: position ((screenW - w) / 2, (screenH - h) / 2),
// size w x h. A larger picture gets a negative position and is cut off equally on both sides. The screen
// size may be fractional (the preview does not round it). Empty for a picture without area.
Rect PlaceCentred(double screenW, double screenH, double w, double h);

// A picture scaled to the screen keeping its aspect ratio, centred. The picture's own orientation
// decides the scale: landscape (w > h) fills the screen width, portrait and square fill the height, so
// a landscape picture narrower in shape than the screen overflows at top and bottom. The position is
// computed from the unrounded scaled size. Empty for a picture or a screen without area.
Rect PlaceFullScreen(double screenW, double screenH, double w, double h);

// The eighths (1..8) at which a JPEG decoder with DCT-domain scaling should decode a w x h picture
// that is drawn at drawW x drawH: the smallest scale whose output, ceil(w * n / 8) x ceil(h * n / 8),
// is still at least the drawn size in both directions (so scaling down afterwards drops pixels rather
// than inventing them). 8 (full scale) when the picture is not larger than its place, or either size is
// not positive.
int32_t JpegScaleEighths(Size picture, Size drawn);

// Stretching without blending (rows and columns dropped or repeated): the source pixel, of `sourceCount`,
// that target pixel `target` of `targetCount` shows, the one under the target pixel's centre. 0 when
// either count is not positive.
int32_t NearestSourcePixel(int32_t target, int32_t targetCount, int32_t sourceCount);

// Tiling, column by column from the top-left corner: after each tile, if y > areaH then the loop stops
// when x > areaW, else starts the next column (x += tileW, y = 0); otherwise y += tileH. Both tests are
// strict, so every column ends with one tile wholly below the area and the last column lies wholly right
// of it. A tile without area gives no origins. Origins beyond the int32 range are left out (they lie
// outside every surface).
int64_t TileOriginCount(int32_t areaW, int32_t areaH, int32_t tileW, int32_t tileH);
void ForEachTileOrigin(int32_t areaW, int32_t areaH, int32_t tileW, int32_t tileH,
                       const std::function<void(Point)>& visit);
// The same origins in a vector, at most maxCount of them (the first ones; SIZE_MAX: all). A 1 x 1 tile on
// a large screen means millions of origins: painters should prefer ForEachTileOrigin.
inline constexpr size_t kMaxTileOrigins = size_t{1} << 24;
std::vector<Point> TileOrigins(int32_t areaW, int32_t areaH, int32_t tileW, int32_t tileH,
                               size_t maxCount = kMaxTileOrigins);

// A cell of the table, numbered as the program numbers them: rows 1..34, columns 1..5.
struct CellPlacement {
  int row;
  int col;
  Rect rect;
  bool operator==(const CellPlacement&) const = default;
};

// `Build_Grid` of the editor. Inputs are `G_Rows`, `G_Cols` and `G_Cols_w` (element 0 unused) and the
// top of `txt_Item1(1)`. Positions of the sliders and cells are inside the window and `Pic_Back`.
struct GridLayout {
  std::array<int32_t, 6> sliderLeft{};  // left of `S_Wide(c)` for c = 1..cols; 0 for sliders not laid out
  std::vector<CellPlacement> cells;     // row by row, each row column by column
  Size gridBox;                         // `Pic_Back`
  Size windowTwips;                     // the editor window's design size, 15 twips per design pixel
  Point button0Face, button0Label, button1Face, button1Label;  // `Img_Button`(0/1), `lbl_Button`(0/1)
};
// Cells are placed only when cols is 1..5 (rows still advance otherwise). rows beyond the grid's 34 are
// laid out as 34, and the grid box is never sized for fewer than one row. Negative widths count as 0.
GridLayout LayoutGrid(int16_t rows, int16_t cols, const std::array<int16_t, 6>& widths,
                      int32_t firstRowTop = kFirstRowTop);

// For an editor taller than the screen's work area (34 rows on a 768-pixel screen): the two large buttons
// move from below the grid to beside it, at its top, so that they stay on the screen; the window widens
// to hold them when it must. The grid and the window's height (which place the table) stay as they are.
void PlaceButtonsBesideGrid(GridLayout& layout);

// `Layout_Table` of the canvas: the cells' screen rectangles from (`Table_X`, `Table_Y`), rows
// `Row_Pitch` apart, and the value `Table_Y` holds afterwards. Columns outside 1..5 give no cells but
// rows still advance; rows < 1 give nothing; rows beyond 34 are laid out as 34 (the editor has no more).
// Negative widths count as 0; coordinates saturate at the int32 range.
struct CanvasTableLayout {
  std::vector<CellPlacement> cells;  // row by row, each row column by column
  int32_t endTableY = 0;
};
CanvasTableLayout LayoutCanvasTable(int32_t tableX, int32_t tableY, int16_t rows, int16_t cols,
                                    const std::array<int16_t, 6>& widths);
// The same cells as the editor's grid shows them at `dpi` dots per inch: the first cell keeps its corner
// at `firstCell`, and every other edge lies at its design offset from the grid box's corner (8 pixels
// before the first cell, both ways) scaled as the window toolkit scales its controls (halves away from
// zero), so each cell lands on the editor's cell at any display scale. `endTableY` stays the design
// value. At 96 (or a dpi below 1) this is LayoutCanvasTable.
CanvasTableLayout ScaledCanvasTable(Point firstCell, int16_t rows, int16_t cols,
                                    const std::array<int16_t, 6>& widths, int32_t dpi);

// Opaque cells stand where the editor shows its cells: inside `Pic_Back`'s sunken edge, at the first
// cell's design place. (`Table_X`, `Table_Y`) count 12 pixels into the grid box instead, so the first
// opaque cell's corner lies this far from them.
inline constexpr int32_t kGridBoxEdge = 2;  // `Pic_Back`'s sunken edge, each side
Point EditorCellsOrigin(Point tableAt);

// The table rectangle on the screen, from the editor window's position (twips) and `Pic_Back`'s place
// and size (pixels): x = left / twipsPerPixelX + picBackLeft + 12 in single precision, rounded, y
// likewise; w = picBackWidth - 18, h = picBackHeight - 16, never negative.
struct TableRectInput {
  double windowLeftTwips = 0, windowTopTwips = 0;
  double twipsPerPixelX = kFixedTwipsPerPixel, twipsPerPixelY = kFixedTwipsPerPixel;
  int32_t picBackLeft = kGridBoxLeft, picBackTop = kGridBoxTop, picBackWidth = 0, picBackHeight = 0;
};
Rect TableRectangle(const TableRectInput& input);

}  // namespace qr
