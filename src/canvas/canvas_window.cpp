// The desktop canvas: the rendered wallpaper over the screens until it has shown or is clicked away.
#include "canvas/canvas_window.h"

#include <utility>

#include "core/geometry.h"
#include "wallpaper/render.h"

namespace qr {

namespace {

constexpr COLORREF kLightGrey = 0x00C0C0C0;  // `Display` until the background is composed

FullScreenLook CanvasLook(HCURSOR cursor) {
  return {"Quelm_Rask_C", kLightGrey, cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW), false};
}

bool Contains(const Rect& r, POINT p) {
  return r.w > 0 && r.h > 0 && p.x >= r.x && p.y >= r.y && int64_t{p.x} < int64_t{r.x} + r.w &&
         int64_t{p.y} < int64_t{r.y} + r.h;
}

}  // namespace

Quelm_Rask_C::Quelm_Rask_C(const win::Surface& picture, std::vector<Rect> cells, CanvasOptions options)
    : FullScreenPicture(CanvasLook(options.cursor), options.area),
      picture_(picture),
      cellRects_(std::move(cells)),
      options_(options) {}

void Quelm_Rask_C::Design() {
  FullScreenPicture::Design();
  Display().OnMouseDown = [this](const forms::MouseEvent& e) { Display_MouseDown(e); };
  Timer1_.SetInterval(1);
  Timer1_.SetEnabled(false);
  Timer1_.OnTimer = [this] { Compose_Canvas(); };
}

// Start-up: cover the screens above every window, then start the timer.
void Quelm_Rask_C::Form_Load() {
  CoverScreens();
  Timer1_.SetEnabled(true);
}

// `Timer1`: runs once, when the canvas is on the screen.
void Quelm_Rask_C::Compose_Canvas() {
  Timer1_.SetEnabled(false);
  ShowPicture(picture_);
  if (options_.closeWhenShown) Unload();
}

bool Quelm_Rask_C::OverTableCell(POINT p) const {
  const POINT onScreen{p.x + options_.area.x, p.y + options_.area.y};
  for (const Rect& r : cellRects_)
    if (Contains(r, onScreen)) return true;
  return false;
}

// Any button, any shift state; the cells take their own presses and do not close the canvas.
void Quelm_Rask_C::Display_MouseDown(const forms::MouseEvent& e) {
  if (OverTableCell(POINT{e.x, e.y})) return;
  Unload();
}

void ShowCanvas(const WallpaperJob& job, const win::Surface& picture, const CanvasOptions& options) {
  CanvasOptions over = options;
  if (over.area.w <= 0) over.area = ScreenArea(job);
  Quelm_Rask_C canvas(picture, TableCellRects(job), over);
  canvas.ShowModal(nullptr);
}

}  // namespace qr
