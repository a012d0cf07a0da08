#pragma once
// The one renderer of the wallpaper: the background and the transparent table are composed into an
// off-screen Surface of the screen's size. The canvas window shows that surface and the capture writes
// the same surface, so the bitmap holds exactly what the canvas shows. Independent of any window.
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "core/geometry.h"
#include "core/table_model.h"
#include "win32/surface.h"

namespace qr {

struct AppState;

// What the background is made of.
struct BackgroundSpec {
  int16_t mode = 2;            // `G_Kabe`: 0 the current wallpaper, 1 the picture file, 2 the desktop colour
  int16_t placement = 0;       // `G_Pos`: 0 centred, 1 tiled, 2 full screen
  std::string imagePath;       // `Kabe_File`
  COLORREF desktopColour = 0;  // GetSysColor(COLOR_BACKGROUND)
};
// The background chosen in the program's state, with the system's current desktop colour.
BackgroundSpec BackgroundFromState(const AppState& state);

// Milliseconds spent in each stage, added to what the fields already hold.
struct ComposeTimings {
  double decodeMs = 0;  // opening and decoding pictures
  double placeMs = 0;   // clearing, placing and stretching
  double tableMs = 0;   // laying out and drawing the table
};

// Clears the target to the desktop colour and draws the background on it, the target's size being the
// screen's. Mode 0 draws the wallpaper file the system reports, laid out in the recorded wallpaper
// style; with no wallpaper file set, the desktop is painted by the system (PaintDesktop). A picture that
// cannot be read, or is too large to decode, leaves the desktop colour.
void ComposeBackground(win::Surface& target, const BackgroundSpec& background, ComposeTimings* timings = nullptr);

// The picture of `background` placed on the desktop colour (mode is not consulted), the centring and
// full-screen arithmetic using the given, unrounded, screen size. The preview window's view.
void ComposePreview(win::Surface& target, const BackgroundSpec& background, double screenW, double screenH,
                    ComposeTimings* timings = nullptr);

// The picture file unscaled at the top-left corner on black (the preview of a composed bitmap). False
// when the file cannot be read; the target is then plain black.
bool ComposeUnscaledPicture(win::Surface& target, const std::string& path);

// `Layout_Table` drawn: cells of `Row_Pitch` pixels' height from (tableX, tableY), column widths
// `widths`[1..5], each cell a one-pixel black frame around its own text (font, size, bold, italic, text
// colour of the cell), left-aligned, clipped to the cell, over the background that shows through.
// Returns the advanced `Table_Y` (tableY + 19 per row, also when cols is outside 1..5 and nothing shows).
int32_t DrawTransparentTable(win::Surface& target, const TableModel& table, int32_t tableX, int32_t tableY,
                             int16_t rows, int16_t cols, const std::array<int16_t, 6>& widths,
                             ComposeTimings* timings = nullptr);

// Copies the rectangle r of `source` onto `target` at the same position (the opaque table patch).
void PastePatch(win::Surface& target, const win::Surface& source, const Rect& r);

}  // namespace qr
