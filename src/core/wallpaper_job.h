#pragma once
// A wallpaper job: everything the composed wallpaper depends on, as a plain value. The editor's create
// and preview commands, the command line and the benchmark each build one and hand it to the one
// renderer (canvas/wallpaper_render.h), so the same job always gives the same bitmap.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/table_model.h"
#include "core/table_record.h"

namespace qr {

// What the table is laid over; the values are those of the settings key "G_Kabe".
enum class BackgroundKind : int16_t { CurrentWallpaper = 0, ImageFile = 1, DesktopColour = 2 };
// How an image file is placed; the values are those of the settings key "G_Pos". None draws nothing.
enum class Placement : int16_t { Centred = 0, Tiled = 1, FullScreen = 2, None = -1 };

// How transparent cells' text stands out from the picture; the values are those of the settings key
// "Text_Effect". Opaque cells are never affected.
enum class TextEffect : int16_t { None = 0, Outline = 1, Shadow = 2, Panel = 3 };

// A stored `G_Kabe`: any value but 0 and 1 means the desktop colour alone.
BackgroundKind BackgroundKindOf(int16_t G_Kabe);
// A stored `G_Pos`: values other than 0..2 place nothing.
Placement PlacementOf(int16_t G_Pos);
// A stored `Text_Effect`: values other than 0..3 mean no effect.
TextEffect TextEffectOf(int16_t Text_Effect);
// A stored `Panel_Alpha` (percent): 25, 50 or 75; any other value is 50.
int16_t PanelAlphaOf(int16_t Panel_Alpha);

struct JobBackground {
  BackgroundKind kind = BackgroundKind::DesktopColour;
  std::string file;  // the image file (ImageFile only)
  Placement placement = Placement::Centred;
  uint32_t desktopColour = 0;  // 0x00BBGGRR: what shows where no picture lies
  bool operator==(const JobBackground&) const = default;
};

// The table as it is to be drawn: `rows` x `cols` cells (rows 1..34, columns 1..5; other counts draw no
// cells), column widths in pixels (element 0 unused).
struct JobTable {
  int16_t rows = 0;
  int16_t cols = 0;
  ColumnWidths widths{};
  std::vector<TableRow> cells;  // at least `rows` rows while rows is 1..34; column 1 first
  // The cell, or nothing outside the rows held and columns 1..5.
  const Cell* At(int row, int col) const;
  bool operator==(const JobTable&) const = default;
};

struct WallpaperJob {
  Size screen;  // pixels
  JobBackground background;
  JobTable table;
  Point tableAt;             // screen pixels of the first cell's top-left corner (`Table_X`, `Table_Y`)
  bool transparent = false;  // `Trans` = 1: text over the background; otherwise opaque cells
  int32_t dpi = kDesignPixelsPerInch;        // the editor's display scale, which the cells follow
  TextEffect textEffect = TextEffect::None;  // transparent cells only
  int16_t panelAlpha = 50;                   // the panel's opacity, percent
  bool operator==(const WallpaperJob&) const = default;
};

// The first `rows` rows of the model (at most 34), with `cols` and the widths as given.
JobTable JobTableFrom(const TableModel& model, int16_t rows, int16_t cols, const ColumnWidths& widths);
// A table read from a ".qlm" file.
JobTable JobTableFrom(const DecodedTable& decoded);

// Where the editor stands when it opens with the saved position (`G_Left`, `G_Top`, twips) and a grid
// of this table's size: the window's top-left pixel, or the centre of the screen when the position is
// -1 (either coordinate). Pixels from twips round halves away from zero, as the window does.
struct EditorPlacementInput {
  int32_t leftTwips = -1, topTwips = -1;
  double twipsPerPixelX = kFixedTwipsPerPixel, twipsPerPixelY = kFixedTwipsPerPixel;
  Size screenPx;
  int16_t rows = 0, cols = 0;
  ColumnWidths widths{};
};
Rect EditorWindowRect(const EditorPlacementInput& input);
Rect CentredEditorWindowRect(const EditorPlacementInput& input);
// `Table_X`, `Table_Y` for the editor window at `window` (pixels), as the create command computes them.
Point TableCornerFor(const Rect& window, double twipsPerPixelX, double twipsPerPixelY);

}  // namespace qr
