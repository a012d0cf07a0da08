// The full-screen preview window and the picture it shows for the main window's background choice.
#include "preview/preview_window.h"

#include <cmath>
#include <utility>

#include "core/app_state.h"
#include "wallpaper/composer.h"
#include "wallpaper/job_inputs.h"
#include "win32/display.h"
#include "win32/screen.h"
#include "win32/surface.h"

namespace qr {

namespace {

constexpr COLORREF kLightGrey = 0x00C0C0C0;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr const char* kToolTip = "クリックで戻り";

forms::FormSpec PreviewSpec() {
  forms::FormSpec design;
  design.className = "Quelm_Rask_V";
  design.caption = "Quelm_Rask_V";
  design.border = forms::FormBorder::None;
  design.backColor = kLightGrey;
  design.showInTaskbar = false;
  design.scaled = false;  // covers the screen pixel for pixel
  // Created topmost as well: some systems ignore a Z-order change of a window not yet shown.
  design.topmost = true;
  return design;
}

// The main window's preview covers every monitor unless told otherwise.
PreviewOptions WithArea(PreviewOptions options) {
  if (options.area.w <= 0) {
    const DisplayLayout& display = win::CurrentDisplay();
    if (display.monitors.size() > 1) options.area = display.VirtualScreen();
  }
  return options;
}

}  // namespace

Quelm_Rask_V::Quelm_Rask_V(win::Surface picture, PreviewOptions options)
    : Form(PreviewSpec()), picture_(std::move(picture)), options_(std::move(options)) {}

Quelm_Rask_V::Quelm_Rask_V(const AppState& state, PreviewOptions options)
    : Quelm_Rask_V(PreviewPicture(state), WithArea(std::move(options))) {}

void Quelm_Rask_V::Design() {
  Display_.Create(*this, 0, 0, 0, 0);
  Display_.SetBackColor(kBlack);
  Display_.SetAutoRedraw(true);
  Display_.SetCursor(options_.cursor ? options_.cursor : LoadCursorW(nullptr, IDC_HAND));
  Display_.OnClick = [this] { Unload(); };
}

void Quelm_Rask_V::Form_Load() {
  Rect area = options_.area;
  if (area.w <= 0 || area.h <= 0) {
    const win::ScreenMetrics screen = win::GetScreenMetrics();
    area = {0, 0, screen.widthPx, screen.heightPx};
  }
  SetWindowPos(hwnd(), nullptr, area.x, area.y, area.w, area.h, SWP_NOZORDER | SWP_NOACTIVATE);
  Screen_W_Px_ = area.w;
  Screen_H_Px_ = area.h;
  Display_.Move(0, 0, static_cast<int>(std::lround(Screen_W_Px_)),
                static_cast<int>(std::lround(Screen_H_Px_)));
  Display_.SetToolTip(kToolTip);
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  Draw();
}

// Escape closes it as a click does, for whoever works by keyboard.
bool Quelm_Rask_V::Form_KeyPreview(const forms::KeyEvent& e) {
  if (e.keyCode != VK_ESCAPE) return false;
  Unload();
  return true;
}

void Quelm_Rask_V::Draw() {
  if (!picture_.ok()) return;
  BitBlt(Display_.Dc(), 0, 0, picture_.width(), picture_.height(), picture_.dc(), 0, 0, SRCCOPY);
  Display_.Refresh();
}

namespace {

// The picture placed on each monitor as on one screen, laid where the monitor lies in the virtual screen.
win::Surface PreviewOnEveryMonitor(const JobBackground& background, const DisplayLayout& display) {
  const Rect whole = display.VirtualScreen();
  win::Surface view(whole.w, whole.h, kBlack);
  for (const MonitorInfo& monitor : display.monitors) {
    win::Surface own(monitor.rect.w, monitor.rect.h, kBlack);
    ComposePreview(own, background, monitor.rect.w, monitor.rect.h);
    BitBlt(view.dc(), monitor.rect.x - whole.x, monitor.rect.y - whole.y, monitor.rect.w, monitor.rect.h,
           own.dc(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  return view;
}

}  // namespace

win::Surface PreviewPicture(const AppState& state) {
  // The preview always places the picture file.
  const JobBackground background{BackgroundKind::ImageFile, state.Kabe_File, PlacementOf(state.G_Pos),
                                 DesktopColour()};
  const DisplayLayout& display = win::CurrentDisplay();
  if (display.monitors.size() > 1) return PreviewOnEveryMonitor(background, display);
  const win::ScreenMetrics screen = win::GetScreenMetrics();
  const double screenW = screen.widthPx;
  const double screenH = screen.heightPx;
  win::Surface view(static_cast<int>(std::lround(screenW)), static_cast<int>(std::lround(screenH)), kBlack);
  ComposePreview(view, background, screenW, screenH);
  return view;
}

void ShowPreviewWindow(win::Surface picture, HWND owner, const PreviewOptions& options) {
  Quelm_Rask_V preview(std::move(picture), options);
  preview.ShowModal(owner);
}

void ShowPreviewWindow(const AppState& state, HWND owner, const PreviewOptions& options) {
  ShowPreviewWindow(PreviewPicture(state), owner, WithArea(options));
}

}  // namespace qr
