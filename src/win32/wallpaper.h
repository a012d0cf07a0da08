#pragma once
// The desktop wallpaper setting of the current user.
#include <optional>
#include <string>

namespace qr::win {

// Installs the file as the desktop wallpaper, saved in the user's profile and announced to all windows.
// An empty path removes the wallpaper. False when the system refuses.
bool SetDesktopWallpaper(const std::string& path);

struct CurrentWallpaper {
  enum class Style { Centre, Tile, Stretch, Fit, Fill };
  std::string path;
  Style style = Style::Centre;
};

// The wallpaper file the system reports and how it is laid on the desktop; nothing when no wallpaper
// file is set.
std::optional<CurrentWallpaper> GetCurrentWallpaper();

// The style recorded as "WallpaperStyle" and "TileWallpaper" (registry text values). Span over several
// screens counts as fill, unknown values as centre.
CurrentWallpaper::Style WallpaperStyleFromSettings(const std::string& wallpaperStyle,
                                                   const std::string& tileWallpaper);

}  // namespace qr::win
