// The desktop canvas: the rendered wallpaper over the screens until it has shown or is clicked away.
#include "canvas/canvas_window.h"

#include <utility>

#include "core/geometry.h"
#include "wallpaper/render.h"
#include "win32/screen.h"

namespace qr {

namespace {

constexpr COLORREF kLightGrey = 0x00C0C0C0;  // `Display` until the background is composed
constexpr UINT kTopmostFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;  // 0x13

forms::FormSpec CanvasSpec() {
  forms::FormSpec design;
  design.className = "Quelm_Rask_C";
  design.caption = "Quelm_Rask_C";
  design.border = forms::FormBorder::None;
  design.backColor = kLightGrey;
  design.showInTaskbar = false;
  design.scaled = false;  // covers the screen pixel for pixel
  return design;
}

bool Contains(const Rect& r, POINT p) {
  return r.w > 0 && r.h > 0 && p.x >= r.x && p.y >= r.y && int64_t{p.x} < int64_t{r.x} + r.w &&
         int64_t{p.y} < int64_t{r.y} + r.h;
}

}  // namespace

Quelm_Rask_C::Quelm_Rask_C(const win::Surface& picture, std::vector<Rect> cells, CanvasOptions options)
    : Form(CanvasSpec()), picture_(picture), cellRects_(std::move(cells)), options_(options) {}

void Quelm_Rask_C::Design() {
  Display_.Create(*this, 0, 0, 0, 0);
  Display_.SetBackColor(kLightGrey);
  Display_.SetAutoRedraw(true);
  Display_.SetCursor(options_.cursor ? options_.cursor : LoadCursorW(nullptr, IDC_ARROW));
  Display_.OnMouseDown = [this](const forms::MouseEvent& e) { Display_MouseDown(e); };
  Timer1_.SetInterval(1);
  Timer1_.SetEnabled(false);
  Timer1_.OnTimer = [this] { Compose_Canvas(); };
}

// Start-up: cover the screen, size the surface, stay above every window, start the timer.
void Quelm_Rask_C::Form_Load() {
  Rect area = options_.area;
  if (area.w <= 0 || area.h <= 0) {
    const win::ScreenMetrics screen = win::GetScreenMetrics();
    area = {0, 0, screen.widthPx, screen.heightPx};
  }
  SetWindowPos(hwnd(), nullptr, area.x, area.y, area.w, area.h, SWP_NOZORDER | SWP_NOACTIVATE);
  Screen_W_Px_ = area.w;
  Screen_H_Px_ = area.h;
  Display_.Move(0, 0, Screen_W_Px_, Screen_H_Px_);
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags);
  // After the topmost setting: under Wine a window that already owns its (topmost) tool-tip window
  // may not become topmost itself.
  Display_.SetToolTip(kCanvasToolTip);
  Timer1_.SetEnabled(true);
}

// `Timer1`: runs once, when the canvas is on the screen.
void Quelm_Rask_C::Compose_Canvas() {
  Timer1_.SetEnabled(false);
  if (picture_.ok()) {
    BitBlt(Display_.Dc(), 0, 0, picture_.width(), picture_.height(), picture_.dc(), 0, 0, SRCCOPY);
    Display_.Refresh();
  }
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

// Escape closes it as a press on the background does.
bool Quelm_Rask_C::Form_KeyPreview(const forms::KeyEvent& e) {
  if (e.keyCode != VK_ESCAPE) return false;
  Unload();
  return true;
}

void ShowCanvas(const WallpaperJob& job, const win::Surface& picture, const CanvasOptions& options) {
  CanvasOptions over = options;
  if (over.area.w <= 0) over.area = ScreenArea(job);
  Quelm_Rask_C canvas(picture, TableCellRects(job), over);
  canvas.ShowModal(nullptr);
}

}  // namespace qr
