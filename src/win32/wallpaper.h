#pragma once
// The desktop wallpaper setting of the current user.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/shown_wallpaper.h"

namespace qr::win {

// Installs the file as the desktop wallpaper, saved in the user's profile and announced to all windows.
// An empty path removes the wallpaper. False when the system refuses.
bool SetDesktopWallpaper(const std::string& path);

// The system's per-monitor wallpapers (Windows 8 and later): each monitor, by the id the system gives it,
// shows a file of its own.
class MonitorWallpapers {
 public:
  struct Monitor {
    std::string id;
    Rect rect;  // virtual-screen pixels
  };
  virtual ~MonitorWallpapers() = default;
  virtual std::vector<Monitor> Monitors() = 0;
  virtual bool SetWallpaper(const std::string& monitorId, const std::string& path) = 0;
  // The file the monitor shows; empty when none.
  virtual std::string Wallpaper(const std::string& monitorId) = 0;
  // Every monitor shows its file centred: a file of the monitor's size then lies pixel for pixel.
  virtual bool ShowCentred() = 0;
};

// The system's per-monitor wallpapers, or nothing where the system has none (older systems, Wine).
std::unique_ptr<MonitorWallpapers> OpenMonitorWallpapers();

// Installs one file over the whole virtual screen, shown one to one: spanned where the system spans
// (Windows 8 and later), else tiled from the primary monitor's corner (the file must then be rolled for a
// virtual screen that starts left of or above the primary). False when the system refuses.
enum class SpanStyle { Span, TileFromPrimary };
SpanStyle SpanStyleOfThisSystem();
bool SetSpannedWallpaper(const std::string& path, SpanStyle style);

struct CurrentWallpaper {
  enum class Style { Centre, Tile, Stretch, Fit, Fill };
  std::string path;
  Style style = Style::Centre;
};

// The wallpaper file the system reports and how it is laid on the desktop; nothing when no wallpaper
// file is set.
std::optional<CurrentWallpaper> GetCurrentWallpaper();

// What each of the system's sources says the desktop shows now, in the order core/shown_wallpaper.h
// gives: SPI_GETDESKWALLPAPER, the "Wallpaper" value of HKCU\Control Panel\Desktop, and each monitor's
// file where the system keeps one per monitor; empty where a source names none.
WallpaperReports ReportedWallpapers();

// The style recorded as "WallpaperStyle" and "TileWallpaper" (registry text values). Span over several
// screens counts as fill, unknown values as centre.
CurrentWallpaper::Style WallpaperStyleFromSettings(const std::string& wallpaperStyle,
                                                   const std::string& tileWallpaper);

}  // namespace qr::win
