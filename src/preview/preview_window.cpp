// The full-screen preview window and the picture it shows for the main window's background choice.
#include "preview/preview_window.h"

#include <cmath>
#include <utility>

#include "core/app_state.h"
#include "wallpaper/composer.h"
#include "wallpaper/job_inputs.h"
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

}  // namespace

Quelm_Rask_V::Quelm_Rask_V(win::Surface picture, PreviewOptions options)
    : Form(PreviewSpec()), picture_(std::move(picture)), options_(std::move(options)) {}

Quelm_Rask_V::Quelm_Rask_V(const AppState& state, PreviewOptions options)
    : Quelm_Rask_V(PreviewPicture(state), options) {}

void Quelm_Rask_V::Design() {
  Display_.Create(*this, 0, 0, 0, 0);
  Display_.SetBackColor(kBlack);
  Display_.SetAutoRedraw(true);
  Display_.SetCursor(options_.cursor ? options_.cursor : LoadCursorW(nullptr, IDC_HAND));
  Display_.OnClick = [this] { Unload(); };
}

void Quelm_Rask_V::Form_Load() {
  const win::ScreenMetrics screen = win::GetScreenMetrics();
  SetWindowPos(hwnd(), nullptr, 0, 0, screen.widthPx, screen.heightPx, SWP_NOZORDER | SWP_NOACTIVATE);
  Screen_W_Px_ = screen.widthPx;
  Screen_H_Px_ = screen.heightPx;
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

win::Surface PreviewPicture(const AppState& state) {
  const win::ScreenMetrics screen = win::GetScreenMetrics();
  const double screenW = screen.widthPx;
  const double screenH = screen.heightPx;
  win::Surface view(static_cast<int>(std::lround(screenW)), static_cast<int>(std::lround(screenH)), kBlack);
  // The preview always places the picture file.
  const JobBackground background{BackgroundKind::ImageFile, state.Kabe_File, PlacementOf(state.G_Pos),
                                 DesktopColour()};
  ComposePreview(view, background, screenW, screenH);
  return view;
}

void ShowPreviewWindow(win::Surface picture, HWND owner, const PreviewOptions& options) {
  Quelm_Rask_V preview(std::move(picture), options);
  preview.ShowModal(owner);
}

void ShowPreviewWindow(const AppState& state, HWND owner, const PreviewOptions& options) {
  ShowPreviewWindow(PreviewPicture(state), owner, options);
}

}  // namespace qr
