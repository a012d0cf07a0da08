#pragma once
// The desktop canvas `Quelm_Rask_C`: a borderless window above all others that covers the screen (every
// monitor, where there are several) and shows the wallpaper it is given (RenderScreen, wallpaper/render.h).
// Once it is on the screen its one-shot timer puts the picture on `Display`; then it either closes at once
// (the create command's showing) or stays until a mouse button is pressed over the background, not over a
// cell of the table (the preview).
//
// One object serves one showing: construct it, ShowModal(nullptr), let it go.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "canvas/full_screen_picture.h"
#include "core/geometry.h"
#include "core/wallpaper_job.h"
#include "forms/forms.h"
#include "win32/surface.h"

namespace qr {

struct CanvasOptions {
  HCURSOR cursor = nullptr;     // the pointer over the picture (the main window's); nullptr: the arrow
  bool closeWhenShown = false;  // close as soon as the picture is on the screen
  Rect area{};                  // the virtual-screen rectangle covered; empty: the primary screen
};

class Quelm_Rask_C : public FullScreenPicture {
 public:
  // `picture` is what the canvas shows (it must outlive the canvas); `cells` are the screen rectangles
  // of the table's cells, where a press does not close the canvas.
  Quelm_Rask_C(const win::Surface& picture, std::vector<Rect> cells, CanvasOptions options = {});

  // Whether a point of `Display` (which covers the window's area) is on a cell.
  bool OverTableCell(POINT p) const;

  forms::Timer& Timer1() { return Timer1_; }
  int32_t Screen_W_Px() const { return Covered().w; }
  int32_t Screen_H_Px() const { return Covered().h; }

 protected:
  void Design() override;
  void Form_Load() override;

 private:
  void Compose_Canvas();
  void Display_MouseDown(const forms::MouseEvent& e);

  const win::Surface& picture_;
  std::vector<Rect> cellRects_;
  CanvasOptions options_;
  forms::Timer Timer1_;
};

// Loads a fresh canvas showing the job's wallpaper (`picture`, RenderScreen's) over every monitor of the
// job, shows it modally with no owner and returns when it has unloaded itself.
void ShowCanvas(const WallpaperJob& job, const win::Surface& picture, const CanvasOptions& options = {});

}  // namespace qr
