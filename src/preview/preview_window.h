#pragma once
// The preview window `Quelm_Rask_V`: the whole screen (or every monitor's, `PreviewOptions::area`), above
// every other window, showing the picture it is given, from the top-left corner, until it is clicked.
// Everything is drawn before the window appears. PreviewPicture gives the main window's preview: `Kabe_File`
// placed by `G_Pos` on the desktop colour; the editor's preview of a wallpaper job shows the job's rendered
// wallpaper (wallpaper/render.h) from memory, unscaled on black.
#include <windows.h>

#include <string>

#include "canvas/full_screen_picture.h"
#include "core/geometry.h"
#include "win32/surface.h"

namespace qr {

struct AppState;

struct PreviewOptions {
  HCURSOR cursor = nullptr;  // the pointer over the picture; nullptr: the system's hand
  Rect area{};               // the virtual-screen rectangle covered; empty: the primary screen
  std::string name;          // what a screen reader calls it; empty: the preview of `Kabe_File`
};

// What a screen reader hears of the preview: what it shows, and how to leave it.
inline constexpr const char* kWallpaperPreviewName = "作成する壁紙のﾌﾟﾚﾋﾞｭｰ";
inline constexpr const char* kPreviewDescription = "クリックまたは Esc キーで戻ります";
std::string PictureFilePreviewName(const std::string& path);

class Quelm_Rask_V : public FullScreenPicture {
 public:
  Quelm_Rask_V(win::Surface picture, PreviewOptions options);
  // The picture of the state (PreviewPicture).
  explicit Quelm_Rask_V(const AppState& state, PreviewOptions options = {});

  // The covered size in pixels.
  double Screen_W_Px() const { return Covered().w; }
  double Screen_H_Px() const { return Covered().h; }

 protected:
  void Design() override;
  void Form_Load() override;

 private:
  win::Surface picture_;
  std::string name_;
};

// What the preview shows for the state: `Kabe_File` placed by `G_Pos` on the desktop colour, centred with
// the screen's unrounded size. The screen's size.
win::Surface PreviewPicture(const AppState& state);

// Loads a fresh preview window, shows it modally over `owner` and returns when it has been clicked away.
void ShowPreviewWindow(win::Surface picture, HWND owner, const PreviewOptions& options = {});
void ShowPreviewWindow(const AppState& state, HWND owner, const PreviewOptions& options = {});

}  // namespace qr
