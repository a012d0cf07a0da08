#pragma once
// "/watch": the resident instance that keeps the remembered wallpaper right for the display. It has a
// hidden top-level window (a message-only window would miss the broadcasts) and, while idle, neither
// polls nor runs a timer. A display change (resolution, scaling, monitors), a session unlocked or
// connected to remotely, or the start at log-on make it look about a second later, when a burst of
// changes has settled: it makes the wallpaper again when the display differs from the one the installed
// bitmaps were made for, or when an installed file is gone, and otherwise does nothing. When another
// program installs a wallpaper of its own it stops until the program's own wallpaper is installed again.
//
// Only one runs in a session (a named mutex).
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "core/display_layout.h"
#include "core/last_wallpaper.h"
#include "core/shown_wallpaper.h"
#include "forms/window_base.h"

namespace qr {

struct WatcherServices {
  std::function<DisplayLayout()> readDisplay;              // the display now; the system's by default
  std::function<std::optional<LastWallpaper>()> loadLast;  // the remembered wallpaper
  std::function<WallpaperReports()> wallpapers;            // what each source says the desktop shows
  std::function<void()> refresh;                           // makes the wallpaper again
  std::function<bool(const std::string&)> fileExists;
  UINT settleMs = 1000;
};

// A window of the toolkit's kind: a failing handler never leaves its procedure.
class Watcher : public forms::WindowBase {
 public:
  explicit Watcher(WatcherServices services = {});
  ~Watcher() override;

  bool Paused() const { return paused_; }
  // The start (at log-on): stays quiet when another program's wallpaper is shown, else looks now.
  void Start();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Soon();
  void Check();
  void WallpaperChanged();

  WatcherServices services_;
  bool paused_ = false;
  WallpaperReports reports_;      // at the last look
  WallpaperReports beforePause_;  // at the look before the one that paused it
  bool sessionNotified_ = false;
};

// The whole "/watch": 0 when it ends (or another instance is running already).
int RunWatch();

// "/watch stop": asks every running "/watch" of this session to end and waits up to `timeoutMs` for each
// process, so an installer can replace or remove the program. True when none is left running.
bool StopRunningWatchers(DWORD timeoutMs = 5000);

}  // namespace qr
