#pragma once
// Pieces shared by the composer's source files.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "wallpaper/composer.h"
#include "win32/surface.h"
#include "win32/wallpaper.h"

namespace qr::compose {

// Measures one stage and adds its milliseconds to a ComposeTimings field (when there is one).
class StageTimer {
 public:
  explicit StageTimer(double* total);
  StageTimer(const StageTimer&) = delete;
  StageTimer& operator=(const StageTimer&) = delete;
  ~StageTimer();

 private:
  double* total_;
  LARGE_INTEGER start_{};
};

inline double* Field(ComposeTimings* timings, double ComposeTimings::*field) {
  return timings ? &(timings->*field) : nullptr;
}

// The wallpaper file the job's "current wallpaper" shows on a monitor and its style: the system's, or
// `monitorWallpaper` (when not empty) in the recorded style. Nothing when no file is set.
std::optional<win::CurrentWallpaper> MonitorWallpaper(const JobBackground& background,
                                                      const std::string& monitorWallpaper);

// `Place_Picture`: the picture file placed centred (0), tiled column by column from the top-left
// corner (1) or scaled to the screen keeping its aspect (2, COLORONCOLOR), on a screen of
// screenW x screenH (the target's size, or the preview's unrounded one). Other placements draw nothing.
// `behind` is the colour the target shows where the picture is not drawn.
void PlacePicture(win::Surface& target, const std::string& path, Placement placement, double screenW,
                  double screenH, COLORREF behind, ComposeTimings* timings);

// The wallpaper file laid on the target (showing `behind`) as the desktop shows it. False when the file
// cannot be read.
bool DrawWallpaper(win::Surface& target, const win::CurrentWallpaper& wallpaper, COLORREF behind,
                   ComposeTimings* timings);

}  // namespace qr::compose
