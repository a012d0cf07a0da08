// Picture boxes with a persistent image.
#include "forms/picture_box.h"

#include <algorithm>

#include "forms/contrast.h"

namespace qr::forms {

namespace {
const std::wstring kClassName = L"QrPictureBox";
}  // namespace

bool PictureBox::Create(Container& parent, int left, int top, int width, int height) {
  // An own DC per window: Dc() without a persistent image can hand it out without releasing it.
  if (!RegisterClassOnce(kClassName, CS_OWNDC)) return false;
  parent_ = &parent;
  scale_ = parent.Scale();
  design_ = {left, top, left + std::max(width, 0), top + std::max(height, 0)};
  const RECT device = scale_.Px(design_);
  return CreateWindowInstance(
      WS_EX_NOPARENTNOTIFY, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
      device.left, device.top, device.right - device.left, device.bottom - device.top, parent.hwnd());
}

int PictureBox::Left() const { return design_.left; }
int PictureBox::Top() const { return design_.top; }
int PictureBox::Width() const { return design_.right - design_.left; }
int PictureBox::Height() const { return design_.bottom - design_.top; }

void PictureBox::Move(int left, int top, int width, int height) {
  if (!hwnd()) return;
  design_ = {left, top, left + std::max(width, 0), top + std::max(height, 0)};
  PlaceWindow();
}

void PictureBox::PlaceWindow() {
  const RECT device = scale_.Px(design_);
  MoveWindow(hwnd(), device.left, device.top, device.right - device.left, device.bottom - device.top, TRUE);
  FitImage();
}

void PictureBox::ApplyDpi(int dpi) {
  if (!hwnd() || dpi == scale_.dpi) return;
  SetDpi(dpi);
  PlaceWindow();
  if (image_) DrawPicture(image_->dc());
}

void PictureBox::DrawPicture(HDC dc) const { picture_.ForDpi(scale_.dpi).Draw(dc, 0, 0); }

bool PictureBox::Visible() const { return hwnd() && (GetWindowLongW(hwnd(), GWL_STYLE) & WS_VISIBLE); }
void PictureBox::SetVisible(bool visible) {
  if (hwnd()) ShowWindow(hwnd(), visible ? SW_SHOWNA : SW_HIDE);
}
bool PictureBox::Enabled() const { return hwnd() && IsWindowEnabled(hwnd()); }
void PictureBox::SetEnabled(bool enabled) {
  if (hwnd()) EnableWindow(hwnd(), enabled);
}

void PictureBox::SetToolTip(const std::string& text) {
  if (parent_) parent_->SetToolTipForWindow(hwnd(), text);
}

void PictureBox::SetBackColor(COLORREF colour) {
  backColor_ = colour;
  Cls();
}

void PictureBox::SetBorder(bool border) {
  if (!hwnd()) return;
  LONG ex = GetWindowLongW(hwnd(), GWL_EXSTYLE);
  ex = border ? (ex | WS_EX_CLIENTEDGE) : (ex & ~WS_EX_CLIENTEDGE);
  SetWindowLongW(hwnd(), GWL_EXSTYLE, ex);
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  FitImage();
}

void PictureBox::SetPicture(const forms::Picture& picture) {
  picture_ = picture;
  Cls();
}

void PictureBox::SetAutoRedraw(bool persistent) {
  if (persistent == AutoRedraw()) return;
  if (!persistent) {
    image_.reset();
  } else {
    image_.emplace(ScaleWidth(), ScaleHeight(), ResolveColour(backColor_));
    DrawPicture(image_->dc());
  }
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

HDC PictureBox::Dc() {
  if (image_) return image_->dc();
  return hwnd() ? GetDC(hwnd()) : nullptr;  // CS_OWNDC: the same DC every time, never released
}

void PictureBox::Cls() {
  if (image_) {
    image_->Fill(ResolveColour(backColor_));
    DrawPicture(image_->dc());
  }
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void PictureBox::Refresh() {
  if (!hwnd()) return;
  InvalidateRect(hwnd(), nullptr, FALSE);
  UpdateWindow(hwnd());
}

void PictureBox::FitImage() {
  // The image grows with the box and keeps what was drawn; it never shrinks, like the box's own memory.
  if (!image_) return;
  const int w = std::max(image_->width(), ScaleWidth());
  const int h = std::max(image_->height(), ScaleHeight());
  image_->Resize(w, h, ResolveColour(backColor_));
}

void PictureBox::PaintBackground(HDC dc, const RECT& area) {
  if (contrastBackground_ && HighContrast()) {
    win::Brush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    FillRect(dc, &area, face.get());
    return;
  }
  if (image_) {
    win::Brush brush(CreateSolidBrush(ResolveColour(backColor_)));
    FillRect(dc, &area, brush.get());  // beyond the image, if the box outgrew it
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, image_->dc(), area.left,
           area.top, SRCCOPY);
    return;
  }
  win::Brush brush(CreateSolidBrush(ResolveColour(backColor_)));
  FillRect(dc, &area, brush.get());
  DrawPicture(dc);
}

LRESULT PictureBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE) FitImage();
  return Container::HandleMessage(msg, wp, lp);
}

}  // namespace qr::forms
