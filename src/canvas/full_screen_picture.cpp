// The one full-screen picture window shared by the canvas and the preview.
#include "canvas/full_screen_picture.h"

#include "win32/screen.h"

namespace qr {

namespace {

constexpr COLORREF kLightGrey = 0x00C0C0C0;  // the form until its picture box covers it

forms::FormSpec Spec(const FullScreenLook& look) {
  forms::FormSpec design;
  design.className = look.className;
  design.caption = look.className;
  design.border = forms::FormBorder::None;
  design.backColor = kLightGrey;
  design.showInTaskbar = false;
  design.scaled = false;  // covers the screen pixel for pixel
  // Some systems ignore a Z-order change of a window not yet shown.
  design.topmost = look.createdTopmost;
  return design;
}

}  // namespace

FullScreenPicture::FullScreenPicture(const FullScreenLook& look, Rect area)
    : Form(Spec(look)), look_(look), area_(area) {}

void FullScreenPicture::Design() {
  Display_.Create(*this, 0, 0, 0, 0);
  Display_.SetBackColor(look_.background);
  Display_.SetAutoRedraw(true);
  Display_.SetCursor(look_.cursor);
}

void FullScreenPicture::CoverScreens() {
  covered_ = area_;
  if (covered_.w <= 0 || covered_.h <= 0) {
    const win::ScreenMetrics screen = win::GetScreenMetrics();
    covered_ = {0, 0, screen.widthPx, screen.heightPx};
  }
  SetWindowPos(hwnd(), nullptr, covered_.x, covered_.y, covered_.w, covered_.h,
               SWP_NOZORDER | SWP_NOACTIVATE);
  Display_.Move(0, 0, covered_.w, covered_.h);
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  // After the topmost setting: under Wine a window that already owns its (topmost) tool-tip window
  // may not become topmost itself.
  Display_.SetToolTip(kCanvasToolTip);
}

void FullScreenPicture::ShowPicture(const win::Surface& picture) {
  if (!picture.ok()) return;
  BitBlt(Display_.Dc(), 0, 0, picture.width(), picture.height(), picture.dc(), 0, 0, SRCCOPY);
  Display_.Refresh();
}

// Escape closes it as a click does, for whoever works by keyboard.
bool FullScreenPicture::Form_KeyPreview(const forms::KeyEvent& e) {
  if (e.keyCode != VK_ESCAPE) return false;
  Unload();
  return true;
}

}  // namespace qr
