#pragma once
// The pieces of the one renderer of the wallpaper (wallpaper/render.h): the background, the
// transparent table and the opaque cells, each drawn into an off-screen Surface without any window.
#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/geometry.h"
#include "core/wallpaper_job.h"
#include "win32/bitmap_file.h"
#include "win32/handles.h"
#include "win32/surface.h"

namespace qr {

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
// `monitorWallpaper`, when not empty, is the file this monitor shows (laid out in the recorded style).
void ComposeBackground(win::Surface& target, const JobBackground& background,
                       ComposeTimings* timings = nullptr, const std::string& monitorWallpaper = {});

// The background of a screen of `screen`'s size painted a part at a time, each part with the pixels
// ComposeBackground gives the whole screen there: the picture is decoded once, when this is made. Only
// backgrounds laid without scaling can be painted so: the desktop colour, a picture centred or tiled, the
// wallpaper file centred or tiled. For the others (stretched, or the desktop the system paints) ok() is
// false and the screen is composed whole.
class BackgroundParts {
 public:
  BackgroundParts(const JobBackground& background, Size screen, const std::string& monitorWallpaper = {},
                  ComposeTimings* timings = nullptr);
  bool ok() const { return ok_; }
  // The screen's rectangle whose corner is `corner`, of `size`, painted on `target` from its (0, 0).
  void Paint(HDC target, Size size, Point corner) const;

 private:
  void Centre(const std::string& path, ComposeTimings* timings);
  void Tile(const std::string& path, ComposeTimings* timings);

  bool ok_ = true;
  Size screen_;
  win::Brush colour_;
  win::Surface picture_;                          // the visible part of a centred picture
  Point pictureAt_;                               // its corner on the screen
  std::optional<win::FileLayoutBitmap> tileRow_;  // a row of tiles across the screen
  int32_t tileHeight_ = 0;                        // the tile's own height: the rows' period
};

// The picture of `background` placed on the desktop colour (the kind is not consulted), the centring and
// full-screen arithmetic using the given, unrounded, screen size. The preview window's view.
void ComposePreview(win::Surface& target, const JobBackground& background, double screenW, double screenH,
                    ComposeTimings* timings = nullptr);

// The picture file unscaled at the top-left corner on black (the preview of a composed bitmap). False
// when the file cannot be read; the target is then plain black.
bool ComposeUnscaledPicture(win::Surface& target, const std::string& path);

// How transparent cells' text stands out from the background (core/wallpaper_job.h).
struct TableTextEffect {
  TextEffect effect = TextEffect::None;
  int16_t panelAlpha = 50;  // percent
};

// `Layout_Table` drawn: cells of `Row_Pitch` pixels' height from `at`, each a one-pixel black frame
// around its own text (font, size, bold, italic, text colour of the cell), left-aligned, clipped to the
// cell, over the background that shows through. Returns the y below the last row (at.y + 19 per row,
// also when the columns are outside 1..5 and nothing shows). At a `dpi` other than 96 the cells are
// those of the editor's grid at that scale (core/geometry.h `ScaledCanvasTable`).
// With an effect: the outline or the shadow around each cell's glyphs, in black or white for contrast
// with its text colour and as wide as the scale asks; or the panel, each cell's back colour mixed into
// the background under the cells at `panelAlpha` percent before the frames and texts are drawn.
int32_t DrawTransparentTable(win::Surface& target, const JobTable& table, Point at, int32_t dpi = 96,
                             ComposeTimings* timings = nullptr, TableTextEffect effect = {});

// The cells drawn opaque, as the editor's cell text boxes draw themselves: the classic sunken edge, the
// back colour, and the text in the cell's font and colour where the text box puts it (a fixed margin,
// one line, clipped to the cell), laid out from `at` like the transparent table.
void DrawOpaqueTable(win::Surface& target, const JobTable& table, Point at, int32_t dpi = 96,
                     ComposeTimings* timings = nullptr);

}  // namespace qr
