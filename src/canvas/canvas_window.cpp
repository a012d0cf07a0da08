#include "canvas/canvas_window.h"

#include <exception>
#include <utility>

#include "canvas/composer.h"
#include "core/app_state.h"
#include "core/geometry.h"
#include "wallpaper_creation/fixed_files.h"
#include "win32/bitmap_file.h"
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

Quelm_Rask_C::Quelm_Rask_C(AppState& state, const TableModel& table, CanvasOptions options)
    : Form(CanvasSpec()), state_(state), table_(table), options_(std::move(options)) {}

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
  const win::ScreenMetrics screen = win::GetScreenMetrics();
  SetWindowPos(hwnd(), nullptr, 0, 0, screen.widthPx, screen.heightPx, SWP_NOZORDER | SWP_NOACTIVATE);
  Screen_W_Px_ = RoundToInt32(screen.widthTwips / screen.twipsPerPixelX);
  Screen_H_Px_ = RoundToInt32(screen.heightTwips / screen.twipsPerPixelY);
  Display_.Move(0, 0, Screen_W_Px_, Screen_H_Px_);
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags);
  // After the topmost setting: under Wine a window that already owns its (topmost) tool-tip window
  // may not become topmost itself.
  Display_.SetToolTip(kCanvasToolTip);
  Timer1_.SetEnabled(true);
}

// `Timer1`: runs once, when the canvas is on the screen. Whatever fails while composing, the canvas
// still finishes its path, so a capture never leaves it covering the screen.
void Quelm_Rask_C::Compose_Canvas() {
  Timer1_.SetEnabled(false);
  const bool transparent = state_.Trans == 1;
  try {
    composed_ = win::Surface(Screen_W_Px_, Screen_H_Px_, GetSysColor(COLOR_BACKGROUND));
    ComposeBackground(composed_, BackgroundFromState(state_));
    if (transparent) Layout_Table();
    ShowComposed();
  } catch (const std::exception&) {
    // Composing ran out of resources: what was composed so far stands.
  }
  if (!transparent) {
    background_ = std::exchange(composed_, win::Surface());
    Unload();
  } else if (state_.Capture_Mode == 1) {
    Capture();
    Unload();
  }
}

// `Layout_Table`: the cells drawn as transparent text from (`Table_X`, `Table_Y`), which advances by
// the row pitch for every row.
void Quelm_Rask_C::Layout_Table() {
  const CanvasTableLayout layout =
      LayoutCanvasTable(state_.Table_X, state_.Table_Y, state_.G_Rows, state_.G_Cols, state_.G_Cols_w);
  cellRects_.clear();
  for (const CellPlacement& cell : layout.cells) cellRects_.push_back(cell.rect);
  state_.Table_Y = DrawTransparentTable(composed_, table_, state_.Table_X, state_.Table_Y, state_.G_Rows,
                                        state_.G_Cols, state_.G_Cols_w);
}

void Quelm_Rask_C::ShowComposed() {
  if (!composed_.ok()) return;
  BitBlt(Display_.Dc(), 0, 0, composed_.width(), composed_.height(), composed_.dc(), 0, 0, SRCCOPY);
  Display_.Refresh();
}

// The picture the canvas shows, written as the wallpaper bitmap.
void Quelm_Rask_C::Capture() {
  bitmapPath_ = options_.bitmapPath.empty() ? WallpaperBitmapPath() : options_.bitmapPath;
  bitmapWritten_ = composed_.ok() && win::WriteBitmapFile(composed_, bitmapPath_);
}

win::Surface Quelm_Rask_C::TakeBackground() { return std::exchange(background_, win::Surface()); }

bool Quelm_Rask_C::OverTableCell(POINT p) const {
  for (const Rect& r : cellRects_)
    if (Contains(r, p)) return true;
  return false;
}

// Any button, any shift state; the cells take their own presses and do not close the canvas.
void Quelm_Rask_C::Display_MouseDown(const forms::MouseEvent& e) {
  if (OverTableCell(POINT{e.x, e.y})) return;
  Unload();
}

CanvasResult ShowCanvas(AppState& state, const TableModel& table, const CanvasOptions& options) {
  Quelm_Rask_C canvas(state, table, options);
  canvas.ShowModal(nullptr);
  return {canvas.BitmapWritten(), canvas.BitmapPath(), canvas.TakeBackground()};
}

}  // namespace qr
