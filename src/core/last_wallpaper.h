#pragma once
// The last wallpaper installed, remembered so that it can be made again for another display: the table as
// it was drawn, the background choice, the transparency and the text effect, the table's place relative to
// the monitor it lay on, the scale of its cells, and the display it was made for. A snapshot: editing the
// table later does not change it. Stored as UTF-8 text, one field a line, so no character and no fractional
// font size is lost (a ".qlm" record would keep neither), and read back strictly: a damaged file gives
// nothing.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/display_layout.h"
#include "core/file_stamp.h"
#include "core/wallpaper_job.h"

namespace qr {

struct LastWallpaper {
  // The desktop colour is the system's at each rendering, not stored. The current wallpaper is kept as
  // copies of its files with their style (see PreserveCurrentWallpaper), since installing the new one
  // may replace them.
  JobBackground background;
  JobTable table;
  bool transparent = false;
  TextEffect textEffect = TextEffect::None;  // a snapshot written before effects existed has none
  int16_t panelAlpha = 50;
  int32_t dpi = kDesignPixelsPerInch;  // the cells' scale
  size_t monitor = 0;                  // the monitor (of `madeFor`) the table's corner belongs to
  Point offset;                        // the corner from that monitor's top-left corner
  DisplayLayout madeFor;               // the display the wallpaper was made for (the place is on it)
  DisplayLayout renderedFor;           // the display the installed bitmaps were last rendered for
  std::vector<std::string> installed;  // the files installed as the wallpaper
  // Each installed file as it was just after installing, in the same order; none in a snapshot written
  // before files were stamped.
  std::vector<FileStamp> installedStamps;
  uint64_t madeAt = 0;  // when the wallpaper was made by the program (not by a later re-rendering)
  bool operator==(const LastWallpaper&) const = default;
};

// The snapshot of a job about to be installed as `installed`.
LastWallpaper LastWallpaperOf(const WallpaperJob& job, std::vector<std::string> installed, uint64_t madeAt);

std::string EncodeLastWallpaper(const LastWallpaper& last);
// Nothing for anything the encoder would not write: a wrong first line, a missing, repeated or malformed
// field, values out of range (rows, columns, widths, monitors, dpi), text that is not UTF-8, or more
// than kMaxLastWallpaperBytes.
inline constexpr size_t kMaxLastWallpaperBytes = 1u << 20;
std::optional<LastWallpaper> DecodeLastWallpaper(std::string_view bytes);

// Where the table goes on `now`: on the same display exactly where it was, at the same scale; otherwise
// at the same offset from its monitor's corner (found by the system's name for it, else by its number
// when the layout was given by hand), moved inside that monitor if it would fall off, or onto the primary
// when the monitor is gone, at that monitor's scale.
TablePlace RefreshedTablePlace(const LastWallpaper& last, const DisplayLayout& now);

// The job that makes the remembered wallpaper again on `now`.
WallpaperJob JobFromLastWallpaper(const LastWallpaper& last, const DisplayLayout& now,
                                  uint32_t desktopColour);

}  // namespace qr
