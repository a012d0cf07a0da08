#pragma once
// A wallpaper job: everything the composed wallpaper depends on, as a plain value. The editor's create
// and preview commands, the command line and the benchmark each build one and hand it to the one
// renderer (wallpaper/render.h), so the same job always gives the same bitmap.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/display_layout.h"
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
  // CurrentWallpaper where the system keeps a wallpaper per monitor: each monitor's file, in the order of
  // the display's monitors (empty: the one wallpaper the system reports, on every monitor).
  std::vector<std::string> monitorWallpapers;
  // How those files are laid out (0 centred, 1 tiled, 2 stretched, 3 fitted, 4 filled); -1: the style the
  // system records now.
  int16_t wallpaperStyle = -1;
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
  DisplayLayout display;  // every monitor gets a picture of its own size
  JobBackground background;
  JobTable table;
  Point tableAt;                             // virtual-screen pixels of the first cell's top-left corner
  bool transparent = false;                  // `Trans` = 1: text over the background; otherwise opaque cells
  int32_t dpi = kDesignPixelsPerInch;        // the editor's display scale, which the cells follow
  TextEffect textEffect = TextEffect::None;  // transparent cells only
  int16_t panelAlpha = 50;                   // the panel's opacity, percent
  bool operator==(const WallpaperJob&) const = default;
};

// The first `rows` rows of the model (at most 34), with `cols` and the widths as given.
JobTable JobTableFrom(const TableModel& model, int16_t rows, int16_t cols, const ColumnWidths& widths);
// A table read from a ".qlm" file.
JobTable JobTableFrom(const DecodedTable& decoded);

// The editor's saved place and the grid it opens with.
struct EditorPlace {
  int32_t leftTwips = -1, topTwips = -1;  // `G_Left`, `G_Top`; -1 (either): centred on the primary
  int16_t rows = 0, cols = 0;
  ColumnWidths widths{};
};

// The editor window where it opens on `display`: at its saved place (twips at the session's twips per
// pixel, halves away from zero, as the window converts them) unless that lies on no monitor, else centred
// on the primary monitor. Its size is the grid's at the session's resolution.
Rect EditorWindowOnDisplay(const EditorPlace& place, const DisplayLayout& display);

// The table's corner as the editor shows it: cell (1, 1)'s text area on the screen, for the editor window
// at `window`, laid out at `dpi` (the resolution of the monitor the window is on).
Point TableCornerInEditor(const Rect& window, int32_t dpi);

// Where the table lands for an editor opened at `place`: the corner (virtual-screen pixels) and the scale
// its cells are drawn at (the resolution of the monitor the editor lies on).
struct TablePlace {
  Point corner;
  int32_t dpi = kDesignPixelsPerInch;
  bool operator==(const TablePlace&) const = default;
};
TablePlace TablePlaceFromEditor(const EditorPlace& place, const DisplayLayout& display);

// The table's outer size at `dpi` as the canvas lays it out (at least 1 x 1).
Size TableOuterSize(const JobTable& table, int32_t dpi);

// What the table covers with its corner at `corner`, drawn at `dpi`: transparent cells from the corner,
// opaque ones on the editor's cells, whose sunken edges begin up and left of it (EditorCellsOrigin).
Rect DrawnTableRect(Point corner, const JobTable& table, int32_t dpi, bool transparent);
// The corner moved as little as possible so that the whole drawn table, edges included, lies inside
// `area` (its top-left corner at the area's where it is larger).
Point CornerKeepingTableInside(Point corner, const JobTable& table, int32_t dpi, bool transparent,
                               const Rect& area);

// A corner given by hand: kept where it is when the table touches a monitor, otherwise moved
// onto the nearest monitor, wholly inside its edges. The scale is that monitor's.
TablePlace TablePlaceAt(Point corner, const JobTable& table, const DisplayLayout& display, bool transparent);

// The user's choices a job draws: the background (`G_Kabe`, `Kabe_File`, `G_Pos`), `Trans` and the text
// effect of transparent cells (`Text_Effect`, `Panel_Alpha`), as typed values.
struct JobChoices {
  BackgroundKind background = BackgroundKind::DesktopColour;
  std::string file;  // the image file (ImageFile only)
  Placement placement = Placement::Centred;
  bool transparent = false;
  TextEffect textEffect = TextEffect::None;
  int16_t panelAlpha = 50;
  bool operator==(const JobChoices&) const = default;
};
// The choices held in the program's state, read through the stored values' rules above.
JobChoices JobChoicesOf(const AppState& state);

// The one job builder: the user's choices and a table, on `display`, with the table where the editor
// opened at `editor` shows it, or at `at`.
struct JobInputs {
  JobChoices choices;
  JobTable table;
  DisplayLayout display;
  uint32_t desktopColour = 0;
  std::vector<std::string> monitorWallpapers;  // see JobBackground
  EditorPlace editor;                          // the editor's place (its saved one, or where it stands now)
  std::optional<Point> at;                     // a corner given by hand instead
  std::optional<int32_t> dpi;                  // the cells' scale where it is known (a remembered wallpaper)
};
WallpaperJob BuildWallpaperJob(const JobInputs& inputs);

}  // namespace qr
