// The background composers: desktop colour, placed picture, current wallpaper.
#include "wallpaper/composer.h"

#include <algorithm>
#include <optional>

#include "wallpaper/compose_internal.h"
#include "win32/image.h"
#include "win32/wallpaper.h"

namespace qr {

namespace compose {

StageTimer::StageTimer(double* total) : total_(total) {
  if (total_) QueryPerformanceCounter(&start_);
}

StageTimer::~StageTimer() {
  if (!total_) return;
  LARGE_INTEGER end{}, frequency{};
  QueryPerformanceCounter(&end);
  QueryPerformanceFrequency(&frequency);
  if (frequency.QuadPart > 0)
    *total_ += static_cast<double>(end.QuadPart - start_.QuadPart) * 1000.0 /
               static_cast<double>(frequency.QuadPart);
}

std::optional<win::CurrentWallpaper> MonitorWallpaper(const JobBackground& background,
                                                      const std::string& monitorWallpaper) {
  std::optional<win::CurrentWallpaper> wallpaper = win::GetCurrentWallpaper();
  if (!monitorWallpaper.empty()) {
    if (!wallpaper) wallpaper.emplace();
    wallpaper->path = monitorWallpaper;
    if (background.wallpaperStyle >= 0 && background.wallpaperStyle <= 4)
      wallpaper->style = static_cast<win::CurrentWallpaper::Style>(background.wallpaperStyle);
  }
  return wallpaper;
}

}  // namespace compose

void ComposeBackground(win::Surface& target, const JobBackground& background, ComposeTimings* timings,
                       const std::string& monitorWallpaper) {
  if (!target.ok()) return;
  {
    compose::StageTimer timer(compose::Field(timings, &ComposeTimings::placeMs));
    target.Fill(background.desktopColour);
  }
  switch (background.kind) {
    case BackgroundKind::CurrentWallpaper: {
      // PaintDesktop does not reproduce the wallpaper everywhere (a memory DC may get only a plain
      // fill), so a wallpaper file is drawn by us as the desktop lays it out.
      const std::optional<win::CurrentWallpaper> wallpaper =
          compose::MonitorWallpaper(background, monitorWallpaper);
      if (wallpaper) {
        compose::DrawWallpaper(target, *wallpaper, background.desktopColour, timings);
      } else {
        compose::StageTimer timer(compose::Field(timings, &ComposeTimings::placeMs));
        PaintDesktop(target.dc());
      }
      break;
    }
    case BackgroundKind::ImageFile:
      compose::PlacePicture(target, background.file, background.placement, target.width(), target.height(),
                            background.desktopColour, timings);
      break;
    case BackgroundKind::DesktopColour:
      break;  // the desktop colour alone
  }
}

void ComposePreview(win::Surface& target, const JobBackground& background, double screenW, double screenH,
                    ComposeTimings* timings) {
  if (!target.ok()) return;
  {
    compose::StageTimer timer(compose::Field(timings, &ComposeTimings::placeMs));
    target.Fill(background.desktopColour);
  }
  compose::PlacePicture(target, background.file, background.placement, screenW, screenH,
                        background.desktopColour, timings);
}

bool ComposeUnscaledPicture(win::Surface& target, const std::string& path) {
  if (!target.ok()) return false;
  target.Fill(RGB(0, 0, 0));
  const auto file = win::ImageFile::Open(path);
  if (!file) return false;
  const Size size = file->size();
  const auto image =
      file->Decode({.part = Rect{0, 0, std::min(size.w, target.width()), std::min(size.h, target.height())}});
  if (!image) return false;
  BitBlt(target.dc(), 0, 0, image->pixels.width(), image->pixels.height(), image->pixels.dc(), 0, 0, SRCCOPY);
  return true;
}

}  // namespace qr
